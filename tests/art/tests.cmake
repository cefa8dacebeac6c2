# The built-in pictures: sizes, the masked-sprite convention, animation frames.
if(PORONPA_BUILD_SHELL)
  add_executable(art_tests ${CMAKE_CURRENT_LIST_DIR}/PicturesTest.cpp)
  target_link_libraries(art_tests PRIVATE poronpa_assets GTest::gtest)
  gtest_discover_tests(art_tests DISCOVERY_MODE PRE_TEST
                       PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()

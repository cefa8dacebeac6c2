# The map editor: its model with GoogleTest, its windows with QTest under the offscreen platform,
# and one run of the real program in a virtual X server.
if(PORONPA_BUILD_SHELL)
  add_executable(editor_model_tests
    ${CMAKE_CURRENT_LIST_DIR}/MapEditorTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PictureExportTest.cpp
  )
  target_link_libraries(editor_model_tests PRIVATE poronpa_editor GTest::gtest GTest::gtest_main)
  gtest_discover_tests(editor_model_tests DISCOVERY_MODE PRE_TEST)
endif()

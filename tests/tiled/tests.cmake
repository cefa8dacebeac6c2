# The world in the Tiled editor and back: the round trip through poronpa-mapc, its refusals, and
# Tiled's own programs reading what it writes.
if(PORONPA_BUILD_SHELL)
  find_program(TILED_PROGRAM tiled)
  find_program(TMXRASTERIZER_PROGRAM tmxrasterizer)
  add_executable(tiledmap_tests ${CMAKE_CURRENT_LIST_DIR}/TiledMapTest.cpp)
  target_link_libraries(tiledmap_tests PRIVATE poronpa_tiledmap GTest::gtest GTest::gtest_main)
  target_compile_definitions(tiledmap_tests PRIVATE
    PORONPA_MAPC="$<TARGET_FILE:poronpa-mapc>"
    PORONPA_WORLDPNG="$<TARGET_FILE:poronpa-worldpng>"
    PORONPA_BUILT_MAP="${PORONPA_RUNTIME_DIR}/mapdata.dat"
    TILED_PROGRAM="$<$<BOOL:${TILED_PROGRAM}>:${TILED_PROGRAM}>"
    TMXRASTERIZER_PROGRAM="$<$<BOOL:${TMXRASTERIZER_PROGRAM}>:${TMXRASTERIZER_PROGRAM}>")
  add_dependencies(tiledmap_tests poronpa-mapc poronpa-worldpng mapdata)
  gtest_discover_tests(tiledmap_tests DISCOVERY_MODE PRE_TEST
                       PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()

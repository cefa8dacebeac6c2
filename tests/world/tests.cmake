# The world: its text sources, their compiler, the rules every area keeps, and the key scripts
# that prove the game can be finished.
set(WORLD_TEST_DIR ${CMAKE_CURRENT_LIST_DIR})
file(GLOB WORLD_TEST_SOURCES CONFIGURE_DEPENDS ${WORLD_TEST_DIR}/*.cpp)
add_executable(world_tests ${WORLD_TEST_SOURCES})
target_link_libraries(world_tests PRIVATE poronpa_mapsource GTest::gtest GTest::gtest_main)
target_compile_definitions(world_tests PRIVATE
  PORONPA_MAP_SOURCES="${CMAKE_SOURCE_DIR}/world/map"
  PORONPA_BUILT_MAP="${PORONPA_RUNTIME_DIR}/mapdata.dat"
  PORONPA_MAPC="$<TARGET_FILE:poronpa-mapc>"
  PORONPA_SIM="$<TARGET_FILE:poronpa-sim>")
add_dependencies(world_tests mapdata poronpa-sim)
gtest_discover_tests(world_tests DISCOVERY_MODE PRE_TEST)

# The world as it looks: the tile sheet's pictures in the places the sources put them.
if(PORONPA_BUILD_SHELL)
  add_executable(world_look_tests ${WORLD_TEST_DIR}/look/WorldLookTest.cpp)
  target_link_libraries(world_look_tests PRIVATE poronpa_mapsource poronpa_assets GTest::gtest)
  target_compile_definitions(world_look_tests PRIVATE PORONPA_MAP_SOURCES="${CMAKE_SOURCE_DIR}/world/map")
  gtest_discover_tests(world_look_tests DISCOVERY_MODE PRE_TEST
                       PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endif()

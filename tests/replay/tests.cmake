# Replays: the file and its checks, the recorder, the folder's rules, the writer, and the real
# poronpa-sim playing replays.
file(GLOB REPLAY_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_executable(replay_tests ${REPLAY_TEST_SOURCES})
target_link_libraries(replay_tests PRIVATE poronpa_replay GTest::gtest GTest::gtest_main)
target_compile_definitions(replay_tests PRIVATE
  PORONPA_SIM_EXECUTABLE="$<TARGET_FILE:poronpa-sim>"
  PORONPA_BUILT_MAP="${PORONPA_RUNTIME_DIR}/mapdata.dat"
  PORONPA_MAP_SOURCES="${CMAKE_SOURCE_DIR}/world/map")
add_dependencies(replay_tests poronpa-sim mapdata)
gtest_discover_tests(replay_tests DISCOVERY_MODE PRE_TEST)

# The headless simulator: its parts in-process, and the real poronpa-sim binary on small maps.
file(GLOB SIM_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_executable(sim_tests ${SIM_TEST_SOURCES})
target_link_libraries(sim_tests PRIVATE poronpa_sim_parts GTest::gtest GTest::gtest_main)
target_compile_definitions(sim_tests PRIVATE PORONPA_SIM_EXECUTABLE="$<TARGET_FILE:poronpa-sim>")
add_dependencies(sim_tests poronpa-sim)
gtest_discover_tests(sim_tests DISCOVERY_MODE PRE_TEST)

# The headless simulator: its parts in-process, and the real poronpa-sim binary on small maps.
file(GLOB SIM_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.cpp)
add_executable(sim_tests ${SIM_TEST_SOURCES})
target_link_libraries(sim_tests PRIVATE poronpa_sim_parts GTest::gtest GTest::gtest_main)
target_compile_definitions(sim_tests PRIVATE PORONPA_SIM_EXECUTABLE="$<TARGET_FILE:poronpa-sim>")
add_dependencies(sim_tests poronpa-sim)
gtest_discover_tests(sim_tests DISCOVERY_MODE PRE_TEST)

# Recorded traces of random and route scripts over every area, on a frozen copy of the world:
# restructuring the engine must leave every one byte for byte as it was.
add_test(NAME sim_trace_corpus COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/corpus/check.sh $<TARGET_FILE:poronpa-sim>)

# The route finder and the world check: searches through the real engine on small worlds built in
# the tests, the check on the shipped world, and the editor's `--check` command.
poronpa_unit_tests(route_tests ${CMAKE_CURRENT_LIST_DIR} poronpa_route)

# The shipped world within the default budget: up to a minute of both cores, so it carries a
# label of its own that a quicker run may leave out (-LE check-world).
add_executable(route_world_tests ${CMAKE_CURRENT_LIST_DIR}/shipped/ShippedWorldCheckTest.cpp)
target_link_libraries(route_world_tests PRIVATE poronpa_route GTest::gtest GTest::gtest_main)
target_compile_definitions(route_world_tests PRIVATE PORONPA_BUILT_MAP="${PORONPA_RUNTIME_DIR}/mapdata.dat"
                                                     PORONPA_SIM="$<TARGET_FILE:poronpa-sim>")
add_dependencies(route_world_tests mapdata poronpa-sim)
add_test(NAME route_shipped_world COMMAND route_world_tests)
set_tests_properties(route_shipped_world PROPERTIES LABELS check-world TIMEOUT 600 COST 400)

if(PORONPA_BUILD_SHELL)
  add_test(NAME mapdesign_check_command
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/check-command.sh $<TARGET_FILE:mapdesign>)
  set_tests_properties(mapdesign_check_command PROPERTIES TIMEOUT 300)
endif()

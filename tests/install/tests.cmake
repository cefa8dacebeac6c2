# Installation: where the files live, the installed tree with its desktop entries, metainfo and
# manual pages, and the Debian package played from a scratch root.
set(INSTALL_TEST_DIR ${CMAKE_CURRENT_LIST_DIR})
add_executable(location_tests ${INSTALL_TEST_DIR}/FileLocationsTest.cpp)
target_link_libraries(location_tests PRIVATE poronpa_core GTest::gtest GTest::gtest_main)
gtest_discover_tests(location_tests DISCOVERY_MODE PRE_TEST)
# The superuser may write almost everywhere; the same cases once more as an ordinary user.
add_test(NAME location_tests_as_player COMMAND bash ${INSTALL_TEST_DIR}/as-player.sh $<TARGET_FILE:location_tests>)
set_tests_properties(location_tests_as_player PROPERTIES SKIP_RETURN_CODE 77)

# The foundation: surfaces and their magnifier.
poronpa_unit_tests(base_tests ${CMAKE_CURRENT_LIST_DIR} poronpa_base)

# The source tree's includes against the layers, and the check itself on small trees.
add_test(NAME include_layers COMMAND poronpa-layers ${CMAKE_SOURCE_DIR})
poronpa_unit_tests(layer_tests ${CMAKE_CURRENT_LIST_DIR} poronpa_layers poronpa_base)

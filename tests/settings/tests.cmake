# The settings file and the window's settings.
poronpa_unit_tests(settings_tests ${CMAKE_CURRENT_LIST_DIR} poronpa_settings)

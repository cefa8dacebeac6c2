# The play engine: motion, tiles, events, drawing, the frame loop, key input and the save format.
poronpa_unit_tests(play_tests ${CMAKE_CURRENT_LIST_DIR} poronpa_play poronpa_screens)

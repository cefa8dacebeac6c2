# A world's records: the best times, the ghost kept of the best run, and the ghost stepped beside a
# game in lockstep with its recording, checked against the real poronpa-sim's trace.
poronpa_unit_tests(records_tests ${CMAKE_CURRENT_LIST_DIR} poronpa_records)
target_compile_definitions(records_tests PRIVATE
  PORONPA_SIM_EXECUTABLE="$<TARGET_FILE:poronpa-sim>"
  PORONPA_BUILT_MAP="${PORONPA_RUNTIME_DIR}/mapdata.dat"
  PORONPA_MAP_SOURCES="${CMAKE_SOURCE_DIR}/world/map")
add_dependencies(records_tests poronpa-sim mapdata)

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

# Games recorded in the real window and watched in it, under Xvfb, driven with xdotool; the probe
# comes with the shell's real-window test.
find_package(X11)
find_program(XDOTOOL xdotool)
if(TARGET poronpa AND X11_FOUND AND IN_XVFB AND XDOTOOL)
  add_dependencies(replay_tests poronpa x11probe)
  add_test(NAME replay_real_window
           COMMAND ${IN_XVFB} 1024x768x24
                   bash ${CMAKE_CURRENT_LIST_DIR}/replay-in-window.sh ${PORONPA_RUNTIME_DIR} $<TARGET_FILE:x11probe>
                   ${CMAKE_CURRENT_BINARY_DIR}/replay-window-shots)
  set_tests_properties(replay_real_window PROPERTIES TIMEOUT 300 ENVIRONMENT "QT_QPA_PLATFORM=xcb")
endif()

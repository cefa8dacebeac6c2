# Widget tests of the game window and its screens, on Qt's offscreen platform.
if(NOT TARGET poronpa_shell)
  return()
endif()

file(GLOB SHELL_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*Test.cpp)
add_executable(shell_tests ${CMAKE_CURRENT_LIST_DIR}/main.cpp ${SHELL_TEST_SOURCES})
target_link_libraries(shell_tests PRIVATE poronpa_shell Qt6::Test GTest::gtest)
gtest_discover_tests(shell_tests DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# The real executable in a real X server (Xvfb), driven with xdotool.
find_package(X11)
find_program(XDOTOOL xdotool)
if(X11_FOUND AND IN_XVFB AND XDOTOOL)
  add_executable(x11probe ${CMAKE_CURRENT_LIST_DIR}/x11probe.cpp)
  target_link_libraries(x11probe PRIVATE X11::X11)
  add_dependencies(shell_tests x11probe poronpa)
  add_test(NAME shell_real_window
           COMMAND ${IN_XVFB} 1024x768x24
                   bash ${CMAKE_CURRENT_LIST_DIR}/real-window.sh ${PORONPA_RUNTIME_DIR} $<TARGET_FILE:x11probe>
                   ${CMAKE_CURRENT_BINARY_DIR}/real-window-shots)
  set_tests_properties(shell_real_window PROPERTIES TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=xcb")
  add_test(NAME shell_real_window_scale
           COMMAND ${IN_XVFB} 1920x1080x24
                   bash ${CMAKE_CURRENT_LIST_DIR}/real-window-scale.sh ${PORONPA_RUNTIME_DIR} $<TARGET_FILE:x11probe>
                   ${CMAKE_CURRENT_BINARY_DIR}/real-window-scale-shots)
  set_tests_properties(shell_real_window_scale PROPERTIES TIMEOUT 120 ENVIRONMENT "QT_QPA_PLATFORM=xcb")
  add_test(NAME shell_real_window_boxes
           COMMAND ${IN_XVFB} 1024x768x24
                   bash ${CMAKE_CURRENT_LIST_DIR}/real-window-boxes.sh ${PORONPA_RUNTIME_DIR} $<TARGET_FILE:x11probe>
                   ${CMAKE_CURRENT_BINARY_DIR}/real-window-boxes-shots)
  set_tests_properties(shell_real_window_boxes PROPERTIES TIMEOUT 180 ENVIRONMENT "QT_QPA_PLATFORM=xcb")
  # What the player sees at each scale: 1× and 2× on a common screen (full screen at 3×), 4× on
  # a large one (full screen at 4×).
  foreach(case IN ITEMS "1 1920x1080x24" "2 1920x1080x24" "4 2560x1600x24")
    separate_arguments(case)
    list(GET case 0 scale)
    list(GET case 1 screen)
    add_test(NAME shell_real_window_screens_${scale}x
             COMMAND ${IN_XVFB} ${screen}
                     bash ${CMAKE_CURRENT_LIST_DIR}/real-window-screens.sh ${PORONPA_RUNTIME_DIR} $<TARGET_FILE:x11probe>
                     ${CMAKE_CURRENT_BINARY_DIR}/real-window-screens-${scale}x-shots ${scale})
    set_tests_properties(shell_real_window_screens_${scale}x PROPERTIES TIMEOUT 300 ENVIRONMENT "QT_QPA_PLATFORM=xcb")
  endforeach()
endif()

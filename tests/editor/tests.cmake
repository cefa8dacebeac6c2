# The map editor: its model with GoogleTest, the pictures it exports read back by Qt, its windows
# with QTest under the offscreen platform, and one run of the real program in a virtual X server.
add_executable(editor_model_tests ${CMAKE_CURRENT_LIST_DIR}/MapEditorTest.cpp)
target_link_libraries(editor_model_tests PRIVATE poronpa_core GTest::gtest GTest::gtest_main)
gtest_discover_tests(editor_model_tests DISCOVERY_MODE PRE_TEST)

if(PORONPA_BUILD_SHELL)
  add_executable(editor_picture_tests ${CMAKE_CURRENT_LIST_DIR}/PictureExportTest.cpp)
  target_link_libraries(editor_picture_tests PRIVATE poronpa_core Qt6::Gui GTest::gtest GTest::gtest_main)
  gtest_discover_tests(editor_picture_tests DISCOVERY_MODE PRE_TEST)

  add_executable(editor_window_tests ${CMAKE_CURRENT_LIST_DIR}/EditorWindowTest.cpp)
  set_target_properties(editor_window_tests PROPERTIES AUTOMOC ON)
  target_link_libraries(editor_window_tests PRIVATE poronpa_editor_qt Qt6::Test)
  # The check's Cancel is tried on the shipped world, which keeps a search busy for long enough.
  target_compile_definitions(editor_window_tests PRIVATE PORONPA_BUILT_MAP="${PORONPA_RUNTIME_DIR}/mapdata.dat")
  add_dependencies(editor_window_tests mapdata)
  add_test(NAME editor_window COMMAND editor_window_tests)
  set_tests_properties(editor_window PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)

  # The whole program on a real X server, closed through the shell tests' X client.
  find_package(X11)
  find_program(XDOTOOL xdotool)
  if(X11_FOUND AND IN_XVFB AND XDOTOOL)
    add_dependencies(editor_window_tests mapdesign x11probe)
    add_test(NAME mapdesign_in_xvfb
             COMMAND ${IN_XVFB} 1024x800x24 bash ${CMAKE_CURRENT_LIST_DIR}/mapdesign-in-xvfb.sh
                     $<TARGET_FILE:mapdesign> $<TARGET_FILE:x11probe> ${CMAKE_CURRENT_BINARY_DIR}/mapdesign-shots)
    set_tests_properties(mapdesign_in_xvfb PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=xcb TIMEOUT 120)
    add_test(NAME mapdesign_hands_in_xvfb
             COMMAND ${IN_XVFB} 1024x800x24 bash ${CMAKE_CURRENT_LIST_DIR}/mapdesign-hands-in-xvfb.sh
                     $<TARGET_FILE:mapdesign> $<TARGET_FILE:x11probe> ${CMAKE_CURRENT_BINARY_DIR}/mapdesign-hands-shots)
    set_tests_properties(mapdesign_hands_in_xvfb PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=xcb TIMEOUT 120)
  endif()
endif()

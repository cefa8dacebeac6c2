# The treasure box dialog and the mishap scene, as widgets under the offscreen platform.
if(PORONPA_BUILD_SHELL)
  foreach(name TreasureBoxDialogTest MissGagSceneTest)
    add_executable(${name} ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp
                           ${CMAKE_CURRENT_LIST_DIR}/RecordingWavePlayer.h)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE poronpa_screens_qt Qt6::Test)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  endforeach()
endif()

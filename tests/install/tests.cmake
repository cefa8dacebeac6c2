# Installation: where the files live, the installed tree with its desktop entries, metainfo and
# manual pages, and the Debian package played from a scratch root.
set(INSTALL_TEST_DIR ${CMAKE_CURRENT_LIST_DIR})
add_executable(location_tests ${INSTALL_TEST_DIR}/FileLocationsTest.cpp)
target_link_libraries(location_tests PRIVATE poronpa_core GTest::gtest GTest::gtest_main)
gtest_discover_tests(location_tests DISCOVERY_MODE PRE_TEST)
# The superuser may write almost everywhere; the same cases once more as an ordinary user.
add_test(NAME location_tests_as_player COMMAND bash ${INSTALL_TEST_DIR}/as-player.sh $<TARGET_FILE:location_tests>)
set_tests_properties(location_tests_as_player PROPERTIES SKIP_RETURN_CODE 77)

# The tools the build runs and the world's tools answer --help and --version too.
set(ANSWERING_TOOLS poronpa-mapc poronpa-route poronpa-soak poronpa-tunec poronpa-sfxgen poronpa-loudness
    poronpa-worldpng poronpa-artgen poronpa-contact)
set(answering_tool_files)
foreach(tool ${ANSWERING_TOOLS})
  if(TARGET ${tool})
    list(APPEND answering_tool_files $<TARGET_FILE:${tool}>)
  endif()
endforeach()
add_test(NAME tools_answer_help_and_version
         COMMAND bash ${INSTALL_TEST_DIR}/tools-answer.sh ${PROJECT_VERSION} ${answering_tool_files})

# The installation holds the game and the editor: without the shell there is nothing to install.
if(NOT TARGET poronpa_installable)
  return()
endif()

# The installed tree: every file the game needs, the validators, --help and --version, and the
# installed simulator run by a player.
add_test(NAME install_tree COMMAND bash ${INSTALL_TEST_DIR}/install-tree.sh ${CMAKE_BINARY_DIR} ${PROJECT_VERSION})
set_tests_properties(install_tree PROPERTIES TIMEOUT 120)

# The Debian package, unpacked into a scratch root and played from there in a virtual X server.
find_package(X11)
find_program(XVFB_RUN xvfb-run)
if(X11_FOUND AND XVFB_RUN)
  add_test(NAME package_play
           COMMAND ${XVFB_RUN} -a -n 180 -s "-screen 0 1024x768x24"
                   bash ${INSTALL_TEST_DIR}/package-play.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:x11probe>)
  set_tests_properties(package_play PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77 ENVIRONMENT "QT_QPA_PLATFORM=xcb")
endif()

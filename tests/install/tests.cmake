# Installation: where the files live, the installed tree with its desktop entries, metainfo and
# manual pages, and the Debian package played from a scratch root.
set(INSTALL_TEST_DIR ${CMAKE_CURRENT_LIST_DIR})
add_executable(location_tests ${INSTALL_TEST_DIR}/FileLocationsTest.cpp)
target_link_libraries(location_tests PRIVATE poronpa_core GTest::gtest GTest::gtest_main)
gtest_discover_tests(location_tests DISCOVERY_MODE PRE_TEST)
# The superuser may write almost everywhere; the same cases once more as an ordinary user.
add_test(NAME location_tests_as_player COMMAND bash ${INSTALL_TEST_DIR}/as-player.sh $<TARGET_FILE:location_tests>)
set_tests_properties(location_tests_as_player PROPERTIES SKIP_RETURN_CODE 77)

# Every program under tools/ answers --help and --version as the game's programs do; the ones on
# Google Benchmark keep that library's own flags. Found from the targets, so that a new tool is
# asked too.
set(answering_tool_files)
get_property(tool_folders DIRECTORY ${CMAKE_SOURCE_DIR}/tools PROPERTY SUBDIRECTORIES)
foreach(folder ${tool_folders})
  get_property(folder_targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target ${folder_targets})
    get_target_property(type ${target} TYPE)
    get_target_property(libraries ${target} LINK_LIBRARIES)
    if(type STREQUAL "EXECUTABLE" AND NOT "benchmark::benchmark" IN_LIST libraries)
      list(APPEND answering_tool_files $<TARGET_FILE:${target}>)
    endif()
  endforeach()
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
if(X11_FOUND AND IN_XVFB)
  add_test(NAME package_play
           COMMAND ${IN_XVFB} 1024x768x24
                   bash ${INSTALL_TEST_DIR}/package-play.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:x11probe>)
  set_tests_properties(package_play PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77 ENVIRONMENT "QT_QPA_PLATFORM=xcb")
endif()

# Hardening: faults injected into the writers (killed mid-write, a full disk, a read-only program
# directory, no sound), bad input files, and a short random-play soak of the simulator.
set(HARDENING_TEST_DIR ${CMAKE_CURRENT_LIST_DIR})
file(GLOB HARDENING_TEST_SOURCES CONFIGURE_DEPENDS ${HARDENING_TEST_DIR}/*.cpp)
if(NOT TARGET poronpa_audio_sdl)
  list(FILTER HARDENING_TEST_SOURCES EXCLUDE REGEX "AudioFaultTest")
endif()
add_executable(hardening_tests ${HARDENING_TEST_SOURCES})
target_link_libraries(hardening_tests PRIVATE poronpa_soak_parts poronpa_replay GTest::gtest GTest::gtest_main)
if(TARGET poronpa_audio_sdl)
  target_link_libraries(hardening_tests PRIVATE poronpa_audio_sdl)
endif()
target_compile_definitions(hardening_tests PRIVATE
  PORONPA_RUNTIME_DIR="${PORONPA_RUNTIME_DIR}"
  PORONPA_SIM_EXECUTABLE="$<TARGET_FILE:poronpa-sim>")
add_dependencies(hardening_tests poronpa-sim mapdata)
gtest_discover_tests(hardening_tests DISCOVERY_MODE PRE_TEST)

# A short soak: every area of the shipped world, about 150,000 frames (the long one is the
# documented poronpa-soak command).
add_test(NAME soak_every_area COMMAND poronpa-soak --frames 150000 --run-frames 6000 --seed 11)
set_tests_properties(soak_every_area PROPERTIES LABELS soak TIMEOUT 300)

# The test command also runs the whole suite in a build with AddressSanitizer and
# UndefinedBehaviorSanitizer, each loader's fuzzer for a minute, and the tests of the core built
# alone with the shell off. Each a build tree of its own, so they are added only where asked for
# (run-tests.sh does). Each builds a tree before it tests, and the tests inside are held to the
# same per-test limit as here, so a hang is caught there; the limit on the whole run is only a
# backstop, set far beyond what a busy machine needs (the sanitized suite took over an hour on two
# cores shared with other builds).
option(PORONPA_HARDENING_RUNS "Add the sanitized suite and the fuzzers' short runs to the tests" OFF)
if(PORONPA_HARDENING_RUNS)
  add_test(NAME sanitized_suite COMMAND ${CMAKE_SOURCE_DIR}/tools/sanitize/run-sanitized-suite.sh)
  set_tests_properties(sanitized_suite PROPERTIES LABELS sanitize TIMEOUT 14400 COST 1000
                       ENVIRONMENT "PORONPA_SANITIZE_BUILD_DIR=${CMAKE_BINARY_DIR}/sanitize")
  add_test(NAME fuzz_loaders COMMAND ${CMAKE_SOURCE_DIR}/tools/fuzz/run-fuzzers.sh 60)
  set_tests_properties(fuzz_loaders PROPERTIES LABELS fuzz TIMEOUT 7200 COST 900
                       ENVIRONMENT "PORONPA_FUZZ_BUILD_DIR=${CMAKE_BINARY_DIR}/fuzz")
  add_test(NAME core_alone COMMAND ${CMAKE_SOURCE_DIR}/tools/core-alone/run-core-alone.sh)
  set_tests_properties(core_alone PROPERTIES LABELS core-alone TIMEOUT 7200 COST 500
                       ENVIRONMENT "PORONPA_CORE_BUILD_DIR=${CMAKE_BINARY_DIR}/core-alone")
endif()

# The real game in a real X server, from program directories that are not as they should be.
find_package(X11)
find_program(XDOTOOL xdotool)
if(TARGET poronpa AND X11_FOUND AND IN_XVFB AND XDOTOOL)
  add_test(NAME real_game_faults
           COMMAND ${IN_XVFB} 1024x768x24
                   bash ${HARDENING_TEST_DIR}/real-game-faults.sh ${PORONPA_RUNTIME_DIR} $<TARGET_FILE:x11probe>)
  set_tests_properties(real_game_faults PROPERTIES TIMEOUT 180 ENVIRONMENT "QT_QPA_PLATFORM=xcb")
endif()

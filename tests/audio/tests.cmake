# The sound logic: effects, music, the MIDI summary.
poronpa_unit_tests(audio_logic_tests ${CMAKE_CURRENT_LIST_DIR} poronpa_audio)

# The sound back ends on SDL's disk audio driver, and the shipped effect and tune files.
if(NOT TARGET poronpa_audio_sdl)
  return()
endif()
file(GLOB AUDIO_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/sdl/*.cpp)
add_executable(audio_tests ${AUDIO_TEST_SOURCES})
target_link_libraries(audio_tests PRIVATE poronpa_audio_sdl poronpa_loudness GTest::gtest GTest::gtest_main)
target_compile_definitions(audio_tests PRIVATE PORONPA_RUNTIME_DIR="${PORONPA_RUNTIME_DIR}")
gtest_discover_tests(audio_tests DISCOVERY_MODE PRE_TEST)

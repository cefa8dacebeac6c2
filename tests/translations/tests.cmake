# The catalogues against the sources: every text the player sees has its English, and the English
# catalogue lists exactly the texts the sources mark (lupdate run on them into a copy).
if(NOT PORONPA_BUILD_SHELL)
  return()
endif()

add_executable(catalogue_tests ${CMAKE_CURRENT_LIST_DIR}/CatalogueTest.cpp)
target_link_libraries(catalogue_tests PRIVATE Qt6::Core GTest::gtest GTest::gtest_main)
list(JOIN PORONPA_TRANSLATED_FOLDERS "," translated_folders)
list(JOIN PORONPA_LUPDATE_OPTIONS "," lupdate_options)
target_compile_definitions(catalogue_tests PRIVATE
  PORONPA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  PORONPA_CATALOGUE="${PORONPA_CATALOGUE_EN}"
  PORONPA_LUPDATE="${PORONPA_LUPDATE}"
  PORONPA_TRANSLATED_FOLDERS="${translated_folders}"
  PORONPA_LUPDATE_OPTIONS="${lupdate_options}")
gtest_discover_tests(catalogue_tests DISCOVERY_MODE PRE_TEST)

# Windows tests under wine: each test program runs through cmake/wine-run.sh (the
# emulator that the top-level CMakeLists.txt sets) in a wine prefix of this build
# directory, whose server one test starts before all the others and another stops after.
set(TAGSTRIP_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine)
set(TAGSTRIP_WINE_SERVER ${PROJECT_SOURCE_DIR}/cmake/wine-server.sh)

# A Linux build of the same sources, whose test programs answer the same questions for
# the fuzzing corpora as reference; without it those comparisons are not made.
set(TAGSTRIP_LINUX_BUILD "" CACHE PATH "Linux build directory whose programs give reference reports")

add_test(NAME wine_server_start COMMAND ${TAGSTRIP_WINE_SERVER} start ${TAGSTRIP_WINE_PREFIX})
add_test(NAME wine_server_stop COMMAND ${TAGSTRIP_WINE_SERVER} stop ${TAGSTRIP_WINE_PREFIX})
set_tests_properties(wine_server_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 320 LABELS wine)
set_tests_properties(wine_server_stop PROPERTIES FIXTURES_CLEANUP wine LABELS wine)

# No GoogleTest for Windows comes with the distribution: its sources (Debian package
# googletest) are built along; they name their targets GTest::gtest and GTest::gtest_main.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# add_test with the wine fixture; a target as COMMAND runs under wine by itself.
function(tagstrip_add_wine_test)
  cmake_parse_arguments(PARSE_ARGV 0 test "" "NAME" "COMMAND")
  add_test(NAME ${test_NAME} COMMAND ${test_COMMAND})
  set_tests_properties(${test_NAME} PROPERTIES FIXTURES_REQUIRED wine LABELS wine TIMEOUT 180)
endfunction()

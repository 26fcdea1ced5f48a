# GoogleTest is built from the sources Debian ships, so the native and the
# mingw-w64 builds use the same framework.
set(KST_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest source tree")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(${KST_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

# kst_add_test(NAME <target> SOURCES ... LIBS ... [LABELS ...])
function(kst_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest_main kst_options)
  if(CMAKE_CROSSCOMPILING)
    # Under Wine, one test process per binary keeps the run short.
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    if(T_LABELS)
      set_tests_properties(${T_NAME} PROPERTIES LABELS "${T_LABELS}")
    endif()
  else()
    # The labels pass through three rounds of CMake argument parsing on their
    # way into the generated test script; each round halves the escapes.
    string(REPLACE ";" "\\\\\\\\\\\\\\\\;" labels "${T_LABELS}")
    gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 30 PROPERTIES LABELS "${labels}")
  endif()
endfunction()

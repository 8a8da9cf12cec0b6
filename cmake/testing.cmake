# GoogleTest: Debian's libgtest-dev natively; for Windows, built from Debian's googletest sources.
include(CTest)
if(WIN32)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# kyrox_add_test(NAME SOURCES ... LIBS ... [LABELS ...]): one test program. Natively each case becomes a CTest
# test; under Wine the whole program is one CTest test, since every start of Wine costs a second.
function(kyrox_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock kyrox_warnings kyrox_sanitize)
  # Tests instantiate the plug-in's inline lane code themselves, which must compile as it does in the
  # plug-in: without fused multiply-adds, which the AVX-512 target would otherwise form.
  target_compile_options(${name} PRIVATE -ffp-contract=off)
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name})
    if(ARG_LABELS)
      set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
    endif()
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${ARG_LABELS}")
  endif()
endfunction()

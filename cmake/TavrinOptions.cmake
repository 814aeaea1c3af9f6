# Compiler flags shared by every target of the tree.
add_compile_options(-Wall -Wextra -Wpedantic)
if(TAVRIN_WERROR)
  add_compile_options(-Werror)
endif()

if(TAVRIN_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

if(TAVRIN_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TAVRIN_FUZZ needs clang: -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# tavrin_add_test(name SOURCES ... LIBS ...): one GoogleTest executable, registered with CTest.
find_package(GTest QUIET)
function(tavrin_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  include(GoogleTest)
  if(CMAKE_CROSSCOMPILING)
    # Listing the cases needs the emulator; ctest does it, so the build never runs Wine.
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 DISCOVERY_MODE PRE_TEST PROPERTIES ${T_PROPERTIES})
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${T_PROPERTIES})
  endif()
endfunction()

if(WIN32)
  # Windows 7 SP1 and later: the headers declare nothing newer, so a newer
  # function cannot slip in unnoticed (those the program can do without are
  # looked up at run time), and the images say 6.1.
  add_compile_definitions(_WIN32_WINNT=0x0601 WINVER=0x0601 NTDDI_VERSION=0x06010000)
  add_link_options(-Wl,--major-subsystem-version,6 -Wl,--minor-subsystem-version,1
                   -Wl,--major-os-version,6 -Wl,--minor-os-version,1)
endif()

# Shared build settings and the helpers every folder uses.

find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
find_package(GTest REQUIRED)
find_package(fmt REQUIRED)
find_package(spdlog REQUIRED)
find_package(nlohmann_json REQUIRED)
find_package(CURL REQUIRED)
# The app opens libcurl itself when its first request goes out (net/curl_library.hpp): it is
# built against curl's headers and never linked with it.
add_library(CurlHeaders INTERFACE)
target_include_directories(CurlHeaders INTERFACE $<TARGET_PROPERTY:CURL::libcurl,INTERFACE_INCLUDE_DIRECTORIES>)
target_compile_definitions(CurlHeaders INTERFACE $<TARGET_PROPERTY:CURL::libcurl,INTERFACE_COMPILE_DEFINITIONS>)
target_link_libraries(CurlHeaders INTERFACE ${CMAKE_DL_LIBS})
find_package(OpenSSL REQUIRED)
# Likewise ICU's common library, opened when a text first needs its case mappings
# (apps/maps/src/icu/icu_library.hpp).
pkg_check_modules(ICU_UC REQUIRED icu-uc)
add_library(IcuHeaders INTERFACE)
target_include_directories(IcuHeaders INTERFACE ${ICU_UC_INCLUDE_DIRS})
target_compile_options(IcuHeaders INTERFACE ${ICU_UC_CFLAGS_OTHER})
target_link_libraries(IcuHeaders INTERFACE ${CMAKE_DL_LIBS})
find_package(SDL2 REQUIRED)
# Only the tests' fake portals use sdbus-c++; the app talks to the bus through libdbus-1 (libs/desktop_bus).
find_package(sdbus-c++ REQUIRED)
find_package(X11 REQUIRED)
if(MAPS_BENCH AND NOT MAPS_FUZZ)
  find_package(benchmark REQUIRED)
endif()
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)
pkg_check_modules(PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo)
pkg_check_modules(GLIB REQUIRED IMPORTED_TARGET glib-2.0)
pkg_check_modules(SPNG REQUIRED IMPORTED_TARGET spng)

# Exact float arithmetic: the sample city and the palette must come out bit-identical everywhere.
add_compile_options(-ffp-contract=off -Wall -Wextra -Wpedantic -Werror)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  # g++ 12 raises false positives on std::variant/optional moves at -O2.
  # Its -O3 string and restrict checks also misfire inside libstdc++ (std::string copies, and
  # std::variant moves of the UI messages).
  add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wno-maybe-uninitialized> $<$<COMPILE_LANGUAGE:CXX>:-Wno-restrict>
                      $<$<COMPILE_LANGUAGE:CXX>:-Wno-stringop-overread> $<$<COMPILE_LANGUAGE:CXX>:-Wno-stringop-overflow>)
endif()

if(MAPS_FUZZ)
  # Coverage for libFuzzer in every library; the fuzz programs add the fuzzer runtime.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
elseif(MAPS_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(MAPS_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# The code a start runs is laid out together in the program (the list is written by
# scripts/order-start-code): a start then maps some 1.5 MiB less of the program's code, which
# its scattered functions otherwise pull in 64 KiB at a time. Every function gets a section of
# its own for that, and the program is linked by gold, which can place sections from a list.
# Names the program no longer has are passed over. Not in the sanitizer and debug builds.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND NOT MAPS_FUZZ AND NOT MAPS_SANITIZE AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  set(MAPS_ORDER_START_CODE ON)
  add_compile_options(-ffunction-sections)
endif()
set(MAPS_START_CODE_ORDER ${PROJECT_SOURCE_DIR}/apps/maps/start-code.order)
function(maps_order_start_code target)
  if(MAPS_ORDER_START_CODE)
    target_link_options(${target} PRIVATE -fuse-ld=gold LINKER:--section-ordering-file,${MAPS_START_CODE_ORDER})
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${MAPS_START_CODE_ORDER})
  endif()
endfunction()

# maps_library(NAME DIR <dir> [DEPS ...] [INCLUDE <dir>...])
# A static library of every .cpp below DIR.
function(maps_library name)
  cmake_parse_arguments(ARG "" "DIR" "INCLUDE;DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  if(srcs)
    add_library(${name} STATIC ${srcs})
    if(MAPS_FUZZ)
      # Only what a fuzz program links is built in the fuzz tree.
      set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL TRUE)
    endif()
    target_include_directories(${name} PUBLIC ${ARG_INCLUDE})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${ARG_INCLUDE})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# maps_area(AREA [USES area...] [DEPS target...] [INCLUDE dir...])
# apps/maps/src/AREA as the library maps_AREA. Its include root holds one link, to the folder itself,
# so "AREA/x.hpp" resolves for it and for what links it, and no other folder of apps/maps/src does:
# an include of a folder it does not use fails to compile. USES names the folders it may include,
# linked PUBLIC, so their own uses come along and nothing else.
function(maps_area area)
  cmake_parse_arguments(ARG "" "" "USES;DEPS;INCLUDE" ${ARGN})
  set(root ${CMAKE_BINARY_DIR}/maps_include/${area})
  if(NOT EXISTS ${root}/${area})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${MAPS_SRC}/${area} ${root}/${area} SYMBOLIC)
  endif()
  list(TRANSFORM ARG_USES PREPEND maps_ OUTPUT_VARIABLE uses)
  maps_library(maps_${area} DIR ${MAPS_SRC}/${area} INCLUDE ${root} ${ARG_INCLUDE} DEPS ${uses} ${ARG_DEPS})
endfunction()

# Sanitizer builds run several times slower; their test time limits grow by this factor.
set(MAPS_TEST_TIMEOUT_SCALE 1 CACHE STRING "factor on every test's time limit")

# maps_tests(NAME DIR <dir>... [DEPS ...])
# One test program per label from the *_test.cpp files in the DIR folders:
#   name_test.cpp -> label unit, name_itest.cpp -> integration, name_e2e.cpp -> e2e.
function(maps_tests name)
  cmake_parse_arguments(ARG "" "" "DIR;DEPS" ${ARGN})
  # DIR may name several folders; the first is the one MAPS_TEST_SOURCE_DIR names.
  list(GET ARG_DIR 0 first_dir)
  if(MAPS_FUZZ)
    return()
  endif()
  foreach(kind unit integration e2e)
    if(kind STREQUAL "unit")
      set(pattern "*_test.cpp")
    elseif(kind STREQUAL "integration")
      set(pattern "*_itest.cpp")
    else()
      set(pattern "*_e2e.cpp")
    endif()
    set(globs)
    foreach(dir ${ARG_DIR})
      list(APPEND globs ${dir}/${pattern})
    endforeach()
    file(GLOB srcs CONFIGURE_DEPENDS ${globs})
    if(srcs)
      set(target ${name}_${kind}_tests)
      add_executable(${target} ${srcs})
      target_link_libraries(${target} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
      target_include_directories(${target} PRIVATE ${ARG_DIR})
      target_compile_definitions(${target} PRIVATE MAPS_TEST_SOURCE_DIR="${first_dir}")
      # No test may hang the run: a unit test gets 30 s, the others 120 s (each far above its
      # measured time), stretched for the sanitizer builds.
      if(kind STREQUAL "unit")
        set(timeout 30)
      else()
        set(timeout 120)
      endif()
      math(EXPR timeout "${timeout} * ${MAPS_TEST_TIMEOUT_SCALE}")
      gtest_discover_tests(${target}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES LABELS ${kind} ENVIRONMENT "MAPS_TEST_SOURCE_DIR=${first_dir}" TIMEOUT ${timeout}
        DISCOVERY_TIMEOUT 60)
    endif()
  endforeach()
endfunction()

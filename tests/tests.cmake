# Native build: unit tests of the pure logic, and the end-to-end tests that
# drive the Windows build under Wine (registered when that build is given).
find_package(GTest REQUIRED)
include(GoogleTest)

add_executable(unit_tests
  tests/unit/test_civil_time.cpp
  tests/unit/test_time_zone.cpp
  tests/unit/test_schedule.cpp
  tests/unit/test_conditions.cpp
  tests/unit/test_command_line.cpp
  tests/unit/test_number_text.cpp
  tests/unit/test_notify_icon.cpp
  tests/unit/test_power.cpp
  tests/unit/test_frmMain_startup.cpp
  tests/unit/test_frmMain_schedule.cpp
  tests/unit/test_frmMain_inputs.cpp
  tests/unit/test_frmMain_window.cpp
  tests/unit/test_frmAbout.cpp
  tests/unit/test_ui.cpp
  tests/unit/test_frmMain_power.cpp
  tests/unit/test_frmMain_balloon.cpp
  tests/unit/test_frmMain_nesting.cpp
  tests/unit/test_frmMain_any_locale.cpp
  tests/unit/test_frmMain_sleep.cpp
  tests/unit/test_frmMain_warning.cpp
  tests/unit/test_frmMain_command.cpp
  tests/unit/test_frmMain_when.cpp
  tests/unit/fakes.cpp)
target_link_libraries(unit_tests PRIVATE dusklet_core GTest::gtest GTest::gtest_main)
gtest_discover_tests(unit_tests)

# The same tests, and the logic they test, built again with AddressSanitizer
# and UndefinedBehaviorSanitizer: any report fails the run.
get_target_property(unit_test_sources unit_tests SOURCES)
get_target_property(core_sources dusklet_core SOURCES)
add_executable(unit_tests_sanitized ${unit_test_sources} ${core_sources})
target_include_directories(unit_tests_sanitized PRIVATE ${CMAKE_SOURCE_DIR})
target_compile_options(unit_tests_sanitized PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all -g -O1)
target_link_options(unit_tests_sanitized PRIVATE -fsanitize=address,undefined)
target_link_libraries(unit_tests_sanitized PRIVATE GTest::gtest GTest::gtest_main)
add_test(NAME unit_tests_sanitized COMMAND unit_tests_sanitized)

# The windows' layout tables as JSON, for the end-to-end tests and the benchmark.
add_executable(layout_json tests/e2e/layout_json.cpp)
target_link_libraries(layout_json PRIVATE dusklet_core)
set(DUSKLET_LAYOUT_JSON ${CMAKE_BINARY_DIR}/layout.json)
add_custom_command(OUTPUT ${DUSKLET_LAYOUT_JSON} COMMAND layout_json > ${DUSKLET_LAYOUT_JSON} DEPENDS layout_json)
add_custom_target(layout ALL DEPENDS ${DUSKLET_LAYOUT_JSON})

# The clock-shift preload library that moves a program's wall clock under Wine,
# for each Wine: clockshift-win32.so for 32-bit Wine, clockshift-win64.so for
# wine64; and for each a program that checks the library from inside.
enable_language(C)
set(clockshift_flag_win32 -m32)
set(clockshift_flag_win64 -m64)
foreach(arch win32 win64)
  add_library(clockshift-${arch} MODULE tests/e2e/clockshift.c)
  set_target_properties(clockshift-${arch} PROPERTIES PREFIX "")
  add_executable(clockshift_probe-${arch} tests/e2e/clockshift_probe.c)
  foreach(target clockshift-${arch} clockshift_probe-${arch})
    target_compile_options(${target} PRIVATE ${clockshift_flag_${arch}})
    target_link_options(${target} PRIVATE ${clockshift_flag_${arch}})
  endforeach()
endforeach()
# The 64-bit library's check runs everywhere; the 32-bit one's where the
# machine runs 32-bit code, which is where the end-to-end tests use it.
set(DUSKLET_WINE_ARCH "" CACHE STRING "The Windows build Wine runs on this machine: win32 or win64")
set(clockshift_checked win64)
if(DUSKLET_WINE_ARCH STREQUAL "win32")
  list(APPEND clockshift_checked win32)
endif()
foreach(arch ${clockshift_checked})
  add_test(NAME clockshift_${arch} COMMAND clockshift_probe-${arch})
  set_tests_properties(clockshift_${arch} PROPERTIES ENVIRONMENT
    "LD_PRELOAD=$<TARGET_FILE:clockshift-${arch}>;CLOCKSHIFT_FILE=${CMAKE_BINARY_DIR}/clockshift_${arch}.offset")
endforeach()

set(DUSKLET_WIN_BUILD "" CACHE PATH "Folder of the Windows build that the end-to-end tests run")
if(DUSKLET_WIN_BUILD)
  file(GLOB e2e_tests ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.py)
  foreach(test ${e2e_tests})
    get_filename_component(name ${test} NAME_WE)
    add_test(NAME e2e_${name} COMMAND python3 ${test})
    set_tests_properties(e2e_${name} PROPERTIES
      ENVIRONMENT "DUSKLET_WIN_BUILD=${DUSKLET_WIN_BUILD};DUSKLET_SOURCE=${CMAKE_SOURCE_DIR};DUSKLET_LAYOUT=${DUSKLET_LAYOUT_JSON};DUSKLET_NATIVE_BUILD=${CMAKE_BINARY_DIR}"
      TIMEOUT 600 RESOURCE_LOCK wine)
  endforeach()
endif()

# Checks of the 32-bit product executable, when the test script names it: its
# headers, imports, resources and size, and that the same sources built again
# in another folder give the same bytes.
set(DUSKLET_PRODUCT_EXE "" CACHE FILEPATH "The 32-bit Dusklet.exe that the executable checks examine")
if(DUSKLET_PRODUCT_EXE)
  add_test(NAME executable_checks COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/pe/check_executable.py)
  add_test(NAME reproducible_build COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/pe/test_reproducible.py)
  set_tests_properties(executable_checks reproducible_build PROPERTIES
    ENVIRONMENT "DUSKLET_PRODUCT_EXE=${DUSKLET_PRODUCT_EXE};DUSKLET_SOURCE=${CMAKE_SOURCE_DIR}" TIMEOUT 600)
endif()

if(DUSKLET_FUZZ)
  add_executable(fuzz_inputs tests/fuzz/fuzz_inputs.cpp tests/unit/fakes.cpp)
  target_link_libraries(fuzz_inputs PRIVATE dusklet_core)
  target_link_options(fuzz_inputs PRIVATE -fsanitize=fuzzer,address,undefined)
  add_executable(fuzz_command_line tests/fuzz/fuzz_command_line.cpp)
  target_link_libraries(fuzz_command_line PRIVATE dusklet_core)
  target_link_options(fuzz_command_line PRIVATE -fsanitize=fuzzer,address,undefined)
endif()

# The set-up script, against stand-ins for the package tools.
add_test(NAME setup_script COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/scripts/test_setup.py)

# The C++ sources keep the house style (.clang-format).
add_test(NAME code_format COMMAND sh -c
  "git ls-files -z --cached --others --exclude-standard '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror"
  WORKING_DIRECTORY ${CMAKE_SOURCE_DIR})

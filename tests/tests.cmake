# Native build: unit tests of the pure logic, and the end-to-end tests that
# drive the Windows build under Wine (registered when that build is given).
find_package(GTest REQUIRED)
include(GoogleTest)

add_executable(unit_tests
  tests/unit/test_serial_date.cpp
  tests/unit/test_number_text.cpp
  tests/unit/test_notify_icon.cpp
  tests/unit/test_power.cpp
  tests/unit/test_frmMain_startup.cpp
  tests/unit/test_frmMain_schedule.cpp
  tests/unit/test_frmMain_inputs.cpp
  tests/unit/test_frmMain_window.cpp
  tests/unit/test_frmAbout.cpp
  tests/unit/fakes.cpp)
target_link_libraries(unit_tests PRIVATE dusklet_core GTest::gtest GTest::gtest_main)
target_compile_options(unit_tests PRIVATE -Wall -Wextra)
gtest_discover_tests(unit_tests)

set(DUSKLET_WIN_BUILD "" CACHE PATH "Folder of the Windows build that the end-to-end tests run")
if(DUSKLET_WIN_BUILD)
  file(GLOB e2e_tests ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.py)
  foreach(test ${e2e_tests})
    get_filename_component(name ${test} NAME_WE)
    add_test(NAME e2e_${name} COMMAND python3 ${test})
    set_tests_properties(e2e_${name} PROPERTIES
      ENVIRONMENT "DUSKLET_WIN_BUILD=${DUSKLET_WIN_BUILD};DUSKLET_SOURCE=${CMAKE_SOURCE_DIR}"
      TIMEOUT 600 RESOURCE_LOCK wine)
  endforeach()
endif()

# Checks of the 32-bit product executable (its path comes from the test script).
add_test(NAME executable_checks COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/pe/check_executable.py)

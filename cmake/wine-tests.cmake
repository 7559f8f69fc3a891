# Windows tests: one executable per tests/ folder, each run under Wine in
# both Windows families (a prefix set to Windows 98, and Wine's default NT).
enable_testing()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -fexceptions -frtti)
target_compile_options(gtest_main PRIVATE -fexceptions -frtti)

set(TOVREL_WINE_ROOT ${CMAKE_BINARY_DIR}/wine CACHE PATH "Wine prefixes of the test run")

# Test-only helper programs (stand-in monitor, hook client, fixtures).
file(GLOB TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/tools/*.cpp)
set(TOOL_TARGETS)
foreach(src ${TOOL_SOURCES})
  get_filename_component(name ${src} NAME_WE)
  list(APPEND TOOL_TARGETS ${name})
  add_executable(${name} WIN32 ${src})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
endforeach()
# The stand-in monitor must carry the monitor's file name.
if(TARGET monitor_standin)
  set_target_properties(monitor_standin PROPERTIES OUTPUT_NAME Tovrel)
  target_link_libraries(monitor_standin PRIVATE user32 kernel32)
endif()
# The Windows 98 scheduler agent's stand-in carries the agent's file name, so
# the search path finds it in the program folder.
if(TARGET agent_standin)
  set_target_properties(agent_standin PROPERTIES OUTPUT_NAME mstask)
endif()

# The shared test-support layer (registry state, dialogs, sheet driver),
# linked by every test executable and by the screenshot driver.
file(GLOB SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cc)
add_library(tovrel_test_support STATIC ${SUPPORT_SOURCES})
target_include_directories(tovrel_test_support PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tovrel_test_support PUBLIC tovrel_core comctl32)

file(GLOB TEST_DIRS LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tests/*)
foreach(dir ${TEST_DIRS})
  file(GLOB WTESTS CONFIGURE_DEPENDS ${dir}/*_wtest.cpp)
  if(NOT WTESTS)
    continue()
  endif()
  get_filename_component(group ${dir} NAME)
  set(exe tests_${group})
  add_executable(${exe} ${WTESTS} ${CMAKE_SOURCE_DIR}/tests/tools/wine_test_main.cc)
  target_link_libraries(${exe} PRIVATE tovrel_test_support tovrel_core gtest)
  target_include_directories(${exe} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(${exe} PRIVATE -fexceptions -frtti)
  target_compile_definitions(${exe} PRIVATE
    TOVREL_SHARED_DIR="Z:${TOVREL_SHARED_DIR}" TOVREL_SOURCE_DIR="Z:${CMAKE_SOURCE_DIR}")
  add_dependencies(${exe} TovrelEx ${TOOL_TARGETS})
  foreach(family nt win98)
    add_test(NAME ${group}.${family} COMMAND ${exe})
    set_tests_properties(${group}.${family} PROPERTIES
      ENVIRONMENT "WINEPREFIX=${TOVREL_WINE_ROOT}/${family};TOVREL_FAMILY=${family}"
      RESOURCE_LOCK prefix_${family}
      TIMEOUT 600)
    # The startup and delay tests use the "Disabled" folder beside the
    # programs, which both families share: they take turns.
    if(group STREQUAL "startup" OR group STREQUAL "delay")
      set_tests_properties(${group}.${family} PROPERTIES RESOURCE_LOCK "prefix_${family};disabled_folder")
    endif()
  endforeach()
endforeach()
include(${CMAKE_SOURCE_DIR}/cmake/fixtures.cmake)
# The hook tests load TOVHOOK.DLL from their own folder.
if(TARGET tests_hooklib)
  add_dependencies(tests_hooklib tovhook)
endif()
# The startup benchmark runs the enumeration itself.
if(TARGET bench_startup)
  target_link_libraries(bench_startup PRIVATE tovrel_test_support tovrel_core psapi)
endif()
# The benchmark's one-list sheet.
if(TARGET trivial_sheet)
  target_link_libraries(trivial_sheet PRIVATE comctl32)
endif()
# The screenshot driver seeds entries and history through the product's code.
if(TARGET shots_driver)
  target_link_libraries(shots_driver PRIVATE tovrel_test_support tovrel_core)
endif()

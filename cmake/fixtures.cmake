# Test fixtures: small libraries that carry nothing but a version resource,
# built next to the test executables so the tests find them in their own
# folder.
set(FIXTURE_DIR ${CMAKE_SOURCE_DIR}/tests/fixtures)

function(tovrel_fixture_dll name)
  add_library(${name} SHARED ${FIXTURE_DIR}/ver_none.cpp ${ARGN})
  set_target_properties(${name} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY
    ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
endfunction()

tovrel_fixture_dll(ver_none)
tovrel_fixture_dll(ver_two_translations ${FIXTURE_DIR}/ver_two_translations.rc)
tovrel_fixture_dll(ver_os ${FIXTURE_DIR}/ver_os.rc)
tovrel_fixture_dll(ver_big ${FIXTURE_DIR}/ver_big.rc)
tovrel_fixture_dll(ver_no_product ${FIXTURE_DIR}/ver_no_product.rc)

if(TARGET tests_core)
  add_dependencies(tests_core ver_none ver_two_translations ver_os ver_big)
endif()
if(TARGET tests_ui)
  add_dependencies(tests_ui ver_none ver_two_translations ver_os ver_big ver_no_product)
endif()

# A COM server that registers itself as a Browser Helper Object through
# regsvr32 (exports named by its .def file).
add_library(helper_fixture SHARED ${FIXTURE_DIR}/helper_fixture.cpp
  ${FIXTURE_DIR}/helper_fixture.rc ${FIXTURE_DIR}/helper_fixture.def)
set_target_properties(helper_fixture PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY
  ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
target_link_libraries(helper_fixture PRIVATE advapi32)
if(TARGET tests_iehelpers)
  add_dependencies(tests_iehelpers helper_fixture)
endif()

# A library with a RunDLL32 entry point, for the delayed-start launch.
add_library(marker_dll SHARED ${FIXTURE_DIR}/marker_dll.cpp)
set_target_properties(marker_dll PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY
  ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
target_link_options(marker_dll PRIVATE -Wl,--kill-at)
if(TARGET tests_delay)
  add_dependencies(tests_delay marker_dll)
endif()

# The services tests: a library naming Microsoft as its maker.
tovrel_fixture_dll(ver_microsoft ${FIXTURE_DIR}/ver_microsoft.rc)
if(TARGET tests_services)
  add_dependencies(tests_services ver_none ver_microsoft)
endif()

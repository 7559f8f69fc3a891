# Native build of the portable sources and their tests, with ASan + UBSan.
enable_testing()
set(SAN -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
add_compile_options(${SAN} -g)
add_link_options(${SAN})

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} googletest EXCLUDE_FROM_ALL)

add_library(tovrel_portable STATIC ${PORTABLE_SOURCES})
target_include_directories(tovrel_portable PUBLIC ${CMAKE_SOURCE_DIR})

file(GLOB NATIVE_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/*/*_test.cpp)
add_executable(native_tests ${NATIVE_TESTS})
target_link_libraries(native_tests PRIVATE tovrel_portable gtest_main)
target_compile_definitions(native_tests PRIVATE
  TOVREL_SHARED_DIR="${TOVREL_SHARED_DIR}" TOVREL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
add_test(NAME native COMMAND native_tests)

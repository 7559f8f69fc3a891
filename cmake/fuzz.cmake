# libFuzzer targets (clang) on the portable sources, with ASan and UBSan:
# one executable per tests/fuzz/fuzz_*.cpp. Built by "./dev fuzz", not by CI.
set(FUZZ_FLAGS -fsanitize=fuzzer,address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=all -g -O1)
add_library(tovrel_fuzz_portable STATIC ${PORTABLE_SOURCES})
target_compile_options(tovrel_fuzz_portable PRIVATE -fsanitize=fuzzer-no-link,address,undefined
                       -fno-omit-frame-pointer -fno-sanitize-recover=all -g -O1)
target_include_directories(tovrel_fuzz_portable PUBLIC ${CMAKE_SOURCE_DIR})
file(GLOB FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/fuzz_*.cpp)
foreach(source ${FUZZ_TARGETS})
  get_filename_component(name ${source} NAME_WE)
  add_executable(${name} ${source})
  target_compile_options(${name} PRIVATE ${FUZZ_FLAGS})
  target_link_options(${name} PRIVATE ${FUZZ_FLAGS})
  target_link_libraries(${name} PRIVATE tovrel_fuzz_portable)
endforeach()

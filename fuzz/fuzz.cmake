# The fuzzer: the tool's routines built again with the fuzzing seam (a run
# that ends throws instead of ending the process) and with the sanitizers,
# and the target that drives them. Needs clang.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "VENOSKAL_FUZZ needs clang (configure with -DCMAKE_CXX_COMPILER=clang++)")
endif()

set(VENOSKAL_FUZZ_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)

add_library(venoskal_fuzz_core STATIC ${VENOSKAL_CORE_SOURCES})
target_include_directories(venoskal_fuzz_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(venoskal_fuzz_core PUBLIC VENOSKAL_FUZZING ${VENOSKAL_CORE_DEFINITIONS})
target_compile_options(venoskal_fuzz_core PUBLIC -fsanitize=fuzzer-no-link ${VENOSKAL_FUZZ_FLAGS})
target_link_libraries(venoskal_fuzz_core PRIVATE venoskal_warnings)

add_executable(venoskal_fuzz fuzz/fuzz_target.cpp fuzz/reference.cpp)
target_link_libraries(venoskal_fuzz PRIVATE venoskal_fuzz_core venoskal_warnings)
target_link_options(venoskal_fuzz PRIVATE -fsanitize=fuzzer ${VENOSKAL_FUZZ_FLAGS})

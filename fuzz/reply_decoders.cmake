# libFuzzer over the reply decoders: cmake -DZEB_FUZZ=ON with clang, then
#   ./fuzz/reply_decoders -max_total_time=60
# The decoder sources are compiled in here so that the fuzzer sees their coverage.
add_executable(reply_decoders
    ${CMAKE_CURRENT_LIST_DIR}/reply_decoders.cpp
    ${PROJECT_SOURCE_DIR}/instrument/ReplyDecoders.cpp
    ${PROJECT_SOURCE_DIR}/instrument/MachineModels.cpp
)
target_include_directories(reply_decoders PRIVATE ${PROJECT_SOURCE_DIR}/instrument)
target_compile_options(reply_decoders PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_options(reply_decoders PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(reply_decoders PRIVATE Qt6::Core)

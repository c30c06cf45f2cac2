# libFuzzer over the reply decoders: cmake -DZEB_FUZZ=ON with clang, then
#   ./fuzz/reply_decoders -max_total_time=60
if(TARGET zeb_instrument)
    add_executable(reply_decoders ${CMAKE_CURRENT_LIST_DIR}/reply_decoders.cpp)
    target_compile_options(reply_decoders PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(reply_decoders PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(reply_decoders PRIVATE zeb_instrument Qt6::Core)
endif()

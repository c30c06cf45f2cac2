# Fuzzes the settings-file reader (and the JSON form of a document). The model library is
# instrumented for coverage so the fuzzer can find its way through the file format.
set(ZEB_FUZZ_FLAGS -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
target_compile_options(zeb_model PRIVATE ${ZEB_FUZZ_FLAGS})

add_executable(settings_load_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/settings_load.cpp)
target_compile_options(settings_load_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_options(settings_load_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(settings_load_fuzz PRIVATE zeb_model)

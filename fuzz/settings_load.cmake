# Fuzzes the settings-file reader (and the JSON form of a document). Seed it with the test files,
# or it spends its time on the first string:
#   cp tests/model/data/* corpus/ && ./fuzz/settings_load_fuzz -max_total_time=60 corpus

add_executable(settings_load_fuzz ${CMAKE_CURRENT_SOURCE_DIR}/settings_load.cpp)
target_compile_options(settings_load_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_options(settings_load_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
target_link_libraries(settings_load_fuzz PRIVATE zeb_model)

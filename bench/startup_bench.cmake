# Start-up benchmark against the real program started as a child process (see startup_bench.cpp).
if(TARGET zeb)
    add_executable(startup_bench ${CMAKE_CURRENT_LIST_DIR}/startup_bench.cpp)
    target_link_libraries(startup_bench PRIVATE Qt6::Core)
    target_compile_definitions(startup_bench PRIVATE ZEB_PATH="$<TARGET_FILE:zeb>")
    add_dependencies(startup_bench zeb)
endif()

# Test run benchmark against a zeb-sim child process (see run_bench.cpp for the figures).
if(TARGET zeb_execution_core AND TARGET zeb-sim)
    add_executable(run_bench ${CMAKE_CURRENT_LIST_DIR}/run_bench.cpp)
    target_link_libraries(run_bench PRIVATE zeb_execution_core Qt6::Core)
    target_compile_definitions(run_bench PRIVATE ZEB_SIM_PATH="$<TARGET_FILE:zeb-sim>")
    add_dependencies(run_bench zeb-sim)
endif()

# Run journal benchmark: durable event writes, recovery and the report from a journal.
if(TARGET zeb_execution_core)
    add_executable(journal_bench ${CMAKE_CURRENT_LIST_DIR}/journal_bench.cpp)
    target_link_libraries(journal_bench PRIVATE zeb_execution_core zeb_journal Qt6::Core)
    # run_bench's poll ratio, journalled, is one of the figures.
    if(TARGET run_bench)
        target_compile_definitions(journal_bench PRIVATE
                                   ZEB_RUN_BENCH_PATH="$<TARGET_FILE:run_bench>")
        add_dependencies(journal_bench run_bench)
    endif()
endif()

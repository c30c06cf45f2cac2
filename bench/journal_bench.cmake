# Run journal benchmark: durable event writes, recovery and the report from a journal.
if(TARGET zeb_execution_core)
    add_executable(journal_bench ${CMAKE_CURRENT_LIST_DIR}/journal_bench.cpp)
    target_link_libraries(journal_bench PRIVATE zeb_execution_core zeb_journal Qt6::Core)
endif()

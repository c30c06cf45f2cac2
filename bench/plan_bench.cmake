# Test standard benchmark: the check of a 1000-step plan and the generation of the largest plan.
if(TARGET zeb_standards)
    add_executable(plan_bench ${CMAKE_CURRENT_LIST_DIR}/plan_bench.cpp)
    target_link_libraries(plan_bench PRIVATE zeb_standards Qt6::Core)
endif()

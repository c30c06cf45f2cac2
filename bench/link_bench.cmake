# Serial link benchmark against the simulator (see link_bench.cpp for the figures).
if(TARGET zeb_instrument AND TARGET zeb_sim)
    add_executable(link_bench ${CMAKE_CURRENT_LIST_DIR}/link_bench.cpp)
    target_link_libraries(link_bench PRIVATE zeb_instrument zeb_sim Qt6::Core)
endif()

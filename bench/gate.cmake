# The gate's processReplacing through the built module, against a plain gain loop.
add_executable(gate_bench ${CMAKE_CURRENT_LIST_DIR}/gate_bench.cpp)
target_link_libraries(gate_bench PRIVATE tk_hosting benchmark::benchmark)
add_dependencies(gate_bench Tarvokin)
target_compile_definitions(gate_bench PRIVATE TARVOKIN_MODULE_PATH="$<TARGET_FILE:Tarvokin>")

find_package(benchmark REQUIRED)
# Each bench/*.cpp is one benchmark program, linked against the whole engine.
file(GLOB bench_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
foreach(src ${bench_srcs})
  get_filename_component(name ${src} NAME_WE)
  add_executable(bench_${name} ${src})
  target_link_libraries(bench_${name} PRIVATE lumo_app benchmark::benchmark)
endforeach()

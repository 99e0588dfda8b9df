# libFuzzer targets for the texture-file readers: PVR, CCZ and gzip. Clang only;
# the engine libraries are instrumented for coverage and the sanitizers too.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "LUMO_FUZZ needs clang (CC=clang CXX=clang++)")
endif()
set(LUMO_FUZZ_SANITIZERS address,undefined)
foreach(lib lumo_platform lumo_scene2d)
  target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link,${LUMO_FUZZ_SANITIZERS}
                                        -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
endforeach()

file(GLOB fuzz_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*.cpp)
foreach(src ${fuzz_srcs})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,${LUMO_FUZZ_SANITIZERS}
                                         -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,${LUMO_FUZZ_SANITIZERS})
  target_link_libraries(${name} PRIVATE lumo_scene2d)
endforeach()

# libFuzzer targets for the texture-file readers: PVR, CCZ and gzip. Clang only:
#   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DLUMO_FUZZ=ON -DLUMO_SANITIZE=OFF
#   ninja -C build-fuzz fuzz_pvr fuzz_ccz fuzz_gzip
#   build-fuzz/fuzz_pvr -max_total_time=600 <work dir> fuzz/corpus/pvr
# Artifacts that crash become regression tests under tests/scene2d.
# The readers are compiled here with coverage and the sanitizers, apart from
# the engine libraries, so the fuzz build does not depend on the rest of the 2D engine.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "LUMO_FUZZ needs clang (CC=clang CXX=clang++)")
endif()
set(LUMO_FUZZ_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
                    -fno-sanitize-recover=undefined)

add_library(lumo_fuzz_readers STATIC
  ${CMAKE_SOURCE_DIR}/src/scene2d/support/ZipUtils.cpp
  ${CMAKE_SOURCE_DIR}/src/scene2d/CCTexturePVR.cpp
  ${CMAKE_SOURCE_DIR}/src/scene2d/CCConfiguration.cpp)
target_include_directories(lumo_fuzz_readers PUBLIC ${CMAKE_SOURCE_DIR}/src/scene2d
                                                    ${CMAKE_SOURCE_DIR}/src/scene2d/support)
target_compile_options(lumo_fuzz_readers PRIVATE -fsanitize=fuzzer-no-link ${LUMO_FUZZ_FLAGS})
target_link_libraries(lumo_fuzz_readers PUBLIC lumo_platform ZLIB::ZLIB)

file(GLOB fuzz_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*.cpp)
foreach(src ${fuzz_srcs})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer ${LUMO_FUZZ_FLAGS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer ${LUMO_FUZZ_FLAGS})
  target_link_libraries(${name} PRIVATE lumo_fuzz_readers)
endforeach()

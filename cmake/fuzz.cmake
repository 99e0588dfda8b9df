# libFuzzer targets for everything the program reads that a user or a damaged
# disk can change. Clang only:
#   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DLUMO_FUZZ=ON -DLUMO_SANITIZE=OFF
#   ninja -C build-fuzz fuzz_all
#   build-fuzz/fuzz_png -max_total_time=600 <work dir> fuzz/corpus/png
# Artifacts that crash become regression tests in the normal test build.
# The readers are compiled here with coverage and the sanitizers, apart from
# the engine libraries, so the fuzz build does not depend on the rest of the
# engines. The platform library is instrumented whole: several readers live
# in it and share its objects.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "LUMO_FUZZ needs clang (CC=clang CXX=clang++)")
endif()
set(LUMO_FUZZ_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
                    -fno-sanitize-recover=undefined)
target_compile_options(lumo_platform PRIVATE -fsanitize=fuzzer-no-link ${LUMO_FUZZ_FLAGS})

function(lumo_fuzz_library name)
  cmake_parse_arguments(L "" "" "SOURCES;INCLUDES;LINKS" ${ARGN})
  add_library(${name} STATIC ${L_SOURCES})
  target_include_directories(${name} PUBLIC ${L_INCLUDES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer-no-link ${LUMO_FUZZ_FLAGS})
  target_link_libraries(${name} PUBLIC lumo_platform ${L_LINKS})
endfunction()

# Texture files of the 2D engine.
lumo_fuzz_library(lumo_fuzz_readers
  SOURCES ${CMAKE_SOURCE_DIR}/src/scene2d/support/ZipUtils.cpp
          ${CMAKE_SOURCE_DIR}/src/scene2d/CCTexturePVR.cpp
          ${CMAKE_SOURCE_DIR}/src/scene2d/CCConfiguration.cpp
  INCLUDES ${CMAKE_SOURCE_DIR}/src/scene2d ${CMAKE_SOURCE_DIR}/src/scene2d/support
  LINKS ZLIB::ZLIB)
# Layout lines of the book's pages.
lumo_fuzz_library(lumo_fuzz_layout
  SOURCES ${CMAKE_SOURCE_DIR}/src/book/KstSpriteFactory.cpp
          ${CMAKE_SOURCE_DIR}/src/book/KstSpriteId.cpp
  INCLUDES ${CMAKE_SOURCE_DIR}/src/book ${CMAKE_SOURCE_DIR}/src/scene3d
           ${CMAKE_SOURCE_DIR}/src/scene2d)
# Book folders' book.json.
lumo_fuzz_library(lumo_fuzz_book
  SOURCES ${CMAKE_SOURCE_DIR}/src/book/KstBookFile.cpp
          ${CMAKE_SOURCE_DIR}/src/book/KstSpriteFactory.cpp
          ${CMAKE_SOURCE_DIR}/src/book/KstSpriteId.cpp
          ${CMAKE_SOURCE_DIR}/src/book/lumoBookNames.cpp
  INCLUDES ${CMAKE_SOURCE_DIR}/src/book ${CMAKE_SOURCE_DIR}/src/scene3d
           ${CMAKE_SOURCE_DIR}/src/scene2d
  LINKS nlohmann_json::nlohmann_json)
# Scripts of the headless program.
lumo_fuzz_library(lumo_fuzz_script
  SOURCES ${CMAKE_SOURCE_DIR}/src/app/ScriptRunner.cpp ${CMAKE_SOURCE_DIR}/src/app/BookKeys.cpp
  INCLUDES ${CMAKE_SOURCE_DIR}/src/app)

# Which reader library each target needs; the platform readers need none.
set(lumo_fuzz_links_fuzz_pvr lumo_fuzz_readers)
set(lumo_fuzz_links_fuzz_ccz lumo_fuzz_readers)
set(lumo_fuzz_links_fuzz_gzip lumo_fuzz_readers)
set(lumo_fuzz_links_fuzz_layout lumo_fuzz_layout)
set(lumo_fuzz_links_fuzz_script lumo_fuzz_script)
set(lumo_fuzz_links_fuzz_book lumo_fuzz_book)
set(lumo_fuzz_links_fuzz_defaults nlohmann_json::nlohmann_json)
set(lumo_fuzz_links_fuzz_png ZLIB::ZLIB)

add_custom_target(fuzz_all)
file(GLOB fuzz_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*.cpp)
foreach(src ${fuzz_srcs})
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer ${LUMO_FUZZ_FLAGS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer ${LUMO_FUZZ_FLAGS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/fuzz)
  target_link_libraries(${name} PRIVATE lumo_platform ${lumo_fuzz_links_${name}})
  add_dependencies(fuzz_all ${name})
endforeach()

# Writes the seed pictures of fuzz/corpus/png and fuzz/corpus/jpeg (run by hand).
add_executable(fuzz_make_image_seeds ${CMAKE_SOURCE_DIR}/fuzz/seeds/make_image_seeds.cpp)
target_link_libraries(fuzz_make_image_seeds PRIVATE PNG::PNG JPEG::JPEG)

# The book's pictures: every SVG under assets/art/ rendered to a PNG of exactly the
# size the manifest gives, into the generated assets folder. One command per
# picture, so only a changed source is rendered again.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(LUMO_ART_DIR ${CMAKE_SOURCE_DIR}/assets/art)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${LUMO_ART_DIR}/manifest.tsv)

file(STRINGS ${LUMO_ART_DIR}/manifest.tsv art_manifest)
set(art_outputs)
foreach(entry ${art_manifest})
  string(REPLACE "\t" ";" fields "${entry}")
  list(GET fields 0 art_name)
  list(GET fields 1 art_width)
  list(GET fields 2 art_height)
  set(art_png ${LUMO_GENERATED_ASSETS}/${art_name}.png)
  add_custom_command(
    OUTPUT ${art_png}
    COMMAND ${RSVG_CONVERT} -w ${art_width} -h ${art_height} -o ${art_png}
            ${LUMO_ART_DIR}/${art_name}.svg
    DEPENDS ${LUMO_ART_DIR}/${art_name}.svg
    COMMENT "Rendering ${art_name}.png"
    VERBATIM)
  list(APPEND art_outputs ${art_png})
endforeach()
add_custom_target(art ALL DEPENDS ${art_outputs})

# Contact sheets for reviewing the art: one per page and one of the controls.
find_package(Python3 COMPONENTS Interpreter REQUIRED)
add_custom_target(art_sheets
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/contact_sheet.py
          ${LUMO_GENERATED_ASSETS} ${CMAKE_BINARY_DIR}/sheets
  DEPENDS art
  VERBATIM)

if(LUMO_TESTS)
  # Every picture rendered, valid and of its layout size.
  add_test(NAME assets_images
           COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/assets/check_images.py
                   ${LUMO_GENERATED_ASSETS})
  set_tests_properties(assets_images PROPERTIES TIMEOUT 600)
  # The same, compared with the layer sizes and titles the program itself holds.
  add_test(NAME assets_images_match_program
           COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/assets/check_images.py
                   ${LUMO_GENERATED_ASSETS} --program $<TARGET_FILE:lumo-book>)
  set_tests_properties(assets_images_match_program PROPERTIES TIMEOUT 600
    ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy;ASAN_OPTIONS=detect_leaks=1")
  # The check's own decoder and fault detection.
  add_test(NAME assets_image_check_self
           COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/assets/test_check_images.py)
  # The committed sources are current with the table and the generator.
  add_test(NAME assets_art_sources
           COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/assets/test_art_sources.py)
endif()

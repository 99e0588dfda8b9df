# The book's pictures: every SVG under assets/art/ rendered to a PNG of exactly the
# pixel size the manifest gives (no more than the screen shows of it), into the
# generated assets folder. One command per
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

# The layout the pictures are drawn for comes from the built program's content
# export, never from a copy: the art tools, the contact sheets and the asset
# tests read it from here. Its own folder, so that it never races the
# recordings' export. The export rewrites only changed files, so what depends
# on layout.tsv reruns only when the layout changes.
find_package(Python3 COMPONENTS Interpreter REQUIRED)
set(LUMO_ART_CONTENT ${CMAKE_BINARY_DIR}/art-content)
add_custom_command(
  OUTPUT ${LUMO_ART_CONTENT}/layout.tsv
  COMMAND $<TARGET_FILE:lumo-book> --export-content ${LUMO_ART_CONTENT}
  DEPENDS lumo-book
  COMMENT "Exporting the book's layout for the pictures"
  VERBATIM)
add_custom_target(art_content ALL DEPENDS ${LUMO_ART_CONTENT}/layout.tsv)

# Regenerates the committed sources in assets/art/ from the export (run by
# hand after changing the layout or a drawing, then commit the sources).
add_custom_target(art_sources
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make_art.py --content ${LUMO_ART_CONTENT}
  DEPENDS art_content
  VERBATIM)

# Contact sheets for reviewing the art: one per page and one of the controls.
add_custom_target(art_sheets
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/contact_sheet.py --content ${LUMO_ART_CONTENT}
          ${LUMO_GENERATED_ASSETS} ${CMAKE_BINARY_DIR}/sheets
  DEPENDS art art_content
  VERBATIM)

if(LUMO_TESTS)
  set(art_test_env "LUMO_CONTENT=${LUMO_ART_CONTENT}")
  # Every picture rendered, valid and of its pixel size; the manifest current.
  add_test(NAME assets_images
           COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/assets/check_images.py
                   ${LUMO_GENERATED_ASSETS})
  set_tests_properties(assets_images PROPERTIES TIMEOUT 600 ENVIRONMENT "${art_test_env}")
  # The same against a fresh export, with the layer sizes as the program reads them.
  add_test(NAME assets_images_match_program
           COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/assets/check_images.py
                   ${LUMO_GENERATED_ASSETS} --program $<TARGET_FILE:lumo-book>)
  set_tests_properties(assets_images_match_program PROPERTIES TIMEOUT 600
    ENVIRONMENT "SDL_VIDEODRIVER=offscreen;SDL_AUDIODRIVER=dummy;ASAN_OPTIONS=detect_leaks=1")
  # The check's own decoder and fault detection.
  add_test(NAME assets_image_check_self
           COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/assets/test_check_images.py)
  # The picture table's reading of the export.
  add_test(NAME assets_art_table
           COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/assets/test_art_table.py)
  # The committed sources are current with the export and the generator.
  add_test(NAME assets_art_sources
           COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/assets/test_art_sources.py)
  # Each picture's pixel size follows what the screen shows of it.
  add_test(NAME assets_art_resolution
           COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/assets/test_art_resolution.py)
  set_tests_properties(assets_art_table assets_art_sources PROPERTIES ENVIRONMENT "${art_test_env}")
endif()

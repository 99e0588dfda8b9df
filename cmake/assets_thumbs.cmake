# The page navigator's small pictures of the pages (tools/make_thumbs.py): each
# page composed from its built pictures as the book's camera shows it, into
# the generated assets' thumbs/ folder; pages 1 and 18 once more with their
# English titles. One command per picture, rerun only when one of that page's
# pictures, the backdrop, the layout or the composing tools change.
# Comes after the picture rules (assets_art.cmake), whose manifest, outputs and
# layout export it uses.
set(thumb_dir ${LUMO_GENERATED_ASSETS}/thumbs)
set(thumb_tools ${CMAKE_SOURCE_DIR}/tools/make_thumbs.py ${CMAKE_SOURCE_DIR}/tools/contact_sheet.py
                ${CMAKE_SOURCE_DIR}/tools/art_stage.py ${CMAKE_SOURCE_DIR}/tools/art_table.py)
set(thumb_pages_with_titles 1 18)
set(thumb_outputs)
foreach(page RANGE 1 18)
  # The page's own pictures: its ground, its background and its layers.
  set(page_pictures)
  foreach(entry ${art_manifest})
    string(REPLACE "\t" ";" fields "${entry}")
    list(GET fields 0 art_name)
    if(art_name MATCHES "^(ground|background)${page}$" OR art_name MATCHES "^s${page}layer")
      list(APPEND page_pictures ${LUMO_GENERATED_ASSETS}/${art_name}.png)
    endif()
  endforeach()
  set(variants "")
  if(page IN_LIST thumb_pages_with_titles)
    set(variants "_en")
  endif()
  foreach(variant "" ${variants})
    if(page LESS 10)
      set(thumb_png ${thumb_dir}/page0${page}${variant}.png)
    else()
      set(thumb_png ${thumb_dir}/page${page}${variant}.png)
    endif()
    set(english_flag)
    if(variant)
      set(english_flag --english)
    endif()
    add_custom_command(
      OUTPUT ${thumb_png}
      COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make_thumbs.py
              --content ${LUMO_ART_CONTENT} ${LUMO_GENERATED_ASSETS} ${thumb_dir} ${page} ${english_flag}
      DEPENDS ${page_pictures} ${LUMO_GENERATED_ASSETS}/layer_bg.png ${LUMO_ART_CONTENT}/layout.tsv
              ${thumb_tools}
      COMMENT "Drawing the navigator's picture of page ${page}${variant}"
      VERBATIM)
    list(APPEND thumb_outputs ${thumb_png})
  endforeach()
endforeach()
add_custom_target(thumbs ALL DEPENDS ${thumb_outputs})

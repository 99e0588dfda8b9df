# The books kept as sources under books/ (texts and layout, drawings, voices),
# each made into a book folder build/books/NAME that `lumo-book --book` opens.
# tools/make_book.py redoes only what changed: pictures whose SVG source
# changed, recordings whose text or voice changed.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_package(Python3 COMPONENTS Interpreter REQUIRED)
set(LUMO_BOOKS_DIR ${CMAKE_BINARY_DIR}/books)
set(book_tools make_book.py make_art.py make_audio.py art_table.py art_stage.py art_resolution.py
               art_draw.py art_cast.py art_scenery.py art_grounds.py art_pages.py art_controls.py
               art_font.py make_thumbs.py contact_sheet.py)
list(TRANSFORM book_tools PREPEND ${CMAKE_SOURCE_DIR}/tools/)
file(GLOB book_sources LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/books/*)
set(book_stamps)
foreach(source ${book_sources})
  if(NOT IS_DIRECTORY ${source})
    continue()
  endif()
  get_filename_component(book ${source} NAME)
  set(book_stamp ${LUMO_BOOKS_DIR}/${book}.stamp)
  add_custom_command(
    OUTPUT ${book_stamp}
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make_book.py --source ${source}
            --out ${LUMO_BOOKS_DIR}/${book} --work ${LUMO_BOOKS_DIR}/${book}.work
            --program $<TARGET_FILE:lumo-book> --assets ${LUMO_GENERATED_ASSETS}
            --speak-words $<TARGET_FILE:speak_words> --jobs 2 --cache "${LUMO_RECORDINGS_CACHE}"
    COMMAND ${CMAKE_COMMAND} -E touch ${book_stamp}
    DEPENDS ${source}/book.json ${source}/drawings.py ${source}/voices.json ${book_tools}
            ${LUMO_GENERATED_ASSETS}/layer_bg.png lumo-book speak_words
    COMMENT "Making the book folder books/${book}"
    VERBATIM)
  list(APPEND book_stamps ${book_stamp})
endforeach()
add_custom_target(books ALL DEPENDS ${book_stamps})

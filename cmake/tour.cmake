# The book as a reader sees it: every page screenshotted through the real program
# in both languages, measured against its pictures as drawn, and one contact
# sheet of them all (build/tour/tour.png). Run by hand: it reads the whole book
# twice and takes minutes.
find_package(Python3 COMPONENTS Interpreter REQUIRED)
set(tour_depends lumo-book)
foreach(target art art_content audio)
  if(TARGET ${target})
    list(APPEND tour_depends ${target})
  endif()
endforeach()
add_custom_target(tour
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/tour.py --program $<TARGET_FILE:lumo-book>
          --assets ${LUMO_GENERATED_ASSETS} --content ${CMAKE_BINARY_DIR}/art-content
          ${CMAKE_BINARY_DIR}/tour
  DEPENDS ${tour_depends}
  USES_TERMINAL
  VERBATIM)

# The same for each book made from books/ (cmake/assets_books.cmake): tour_NAME
# writes build/tour-NAME/tour.png.
if(TARGET books)
  file(GLOB tour_books LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/books/*)
  foreach(source ${tour_books})
    if(IS_DIRECTORY ${source})
      get_filename_component(book ${source} NAME)
      add_custom_target(tour_${book}
        COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/tour.py --program $<TARGET_FILE:lumo-book>
                --assets ${LUMO_GENERATED_ASSETS} --book ${LUMO_BOOKS_DIR}/${book}
                --drawings ${source}/drawings.py ${CMAKE_BINARY_DIR}/tour-${book}
        DEPENDS ${tour_depends} books
        USES_TERMINAL
        VERBATIM)
    endif()
  endforeach()
endif()

if(LUMO_TESTS AND LUMO_ASSETS_BUILD)
  # The tour's pieces and the camera and lamp model the pictures are made for.
  add_test(NAME tour_tools
           COMMAND Python3::Interpreter -m unittest discover -s ${CMAKE_SOURCE_DIR}/tests/tour -p "test_*.py")
  set_tests_properties(tour_tools PROPERTIES
    ENVIRONMENT "LUMO_CONTENT=${CMAKE_BINARY_DIR}/art-content;LUMO_ASSETS=${LUMO_GENERATED_ASSETS}")
  # The cover through the real program against its pictures as drawn.
  add_test(NAME tour_lit_cover
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/tour/lit_cover.sh $<TARGET_FILE:lumo-book>
                   ${CMAKE_BINARY_DIR}/art-content ${LUMO_GENERATED_ASSETS}
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(tour_lit_cover PROPERTIES ENVIRONMENT "${LUMO_TEST_ENV}" TIMEOUT 900)
endif()

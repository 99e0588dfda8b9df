# The application icon: assets/icon/lumo-book.svg (written by tools/make_icon.py)
# rendered at every size the desktop's icon theme asks for, into the generated
# assets folder, where the window takes its icon and install picks them up.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(LUMO_ICON_SVG ${CMAKE_SOURCE_DIR}/assets/icon/lumo-book.svg)
set(icon_outputs)
foreach(size ${LUMO_ICON_SIZES})
  set(icon_png ${LUMO_GENERATED_ASSETS}/icon/lumo-book-${size}.png)
  add_custom_command(
    OUTPUT ${icon_png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${LUMO_GENERATED_ASSETS}/icon
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${icon_png} ${LUMO_ICON_SVG}
    DEPENDS ${LUMO_ICON_SVG}
    COMMENT "Rendering the ${size} px icon"
    VERBATIM)
  list(APPEND icon_outputs ${icon_png})
endforeach()
add_custom_target(icon ALL DEPENDS ${icon_outputs})

if(LUMO_TESTS)
  # Every size rendered and sound; the committed source current with its generator.
  find_package(Python3 COMPONENTS Interpreter REQUIRED)
  add_test(NAME assets_icon
           COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tests/assets/test_icon.py
                   ${LUMO_GENERATED_ASSETS}/icon ${LUMO_ICON_SIZES})
endif()

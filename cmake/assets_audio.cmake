# The book's recordings: every narration and dialogue line spoken from the
# book's own texts, plus the looping music and page effect. The program
# exports its texts, then the generator speaks only those whose text or voice
# changed (a manifest of hashes lives in the build folder), so this step is
# cheap after the first build. English is spoken by Festival, Russian by
# espeak-ng; Russian narrations through speak_words, which also tells where
# each word starts (every narration gets its word timings).
find_program(ESPEAK_NG espeak-ng REQUIRED)
find_program(FESTIVAL festival REQUIRED)
find_program(LAME lame REQUIRED)
find_program(SOX sox REQUIRED)
find_program(RUBBERBAND rubberband REQUIRED)
find_package(Python3 COMPONENTS Interpreter REQUIRED)
pkg_check_modules(ESPEAK_NG_LIB REQUIRED IMPORTED_TARGET espeak-ng)

# A build tool, not part of the book: no sanitizers (the speech library is not
# built with them), but the same warnings.
add_executable(speak_words ${CMAKE_SOURCE_DIR}/tools/speak_words.c)
target_link_libraries(speak_words PRIVATE PkgConfig::ESPEAK_NG_LIB)
set_property(TARGET speak_words PROPERTY COMPILE_OPTIONS -Wall -Wextra -Wpedantic -Werror)
set_property(TARGET speak_words PROPERTY LINK_OPTIONS "")

set(LUMO_CONTENT_EXPORT ${CMAKE_BINARY_DIR}/content)
set(LUMO_AUDIO_MANIFEST ${CMAKE_BINARY_DIR}/make_audio.json)
set(LUMO_AUDIO_STAMP ${CMAKE_BINARY_DIR}/make_audio.stamp)
# Recordings kept by the hash of their text and recipe, outside any one build
# folder: a second build type of the same checkout speaks nothing again.
set(LUMO_RECORDINGS_CACHE ${CMAKE_SOURCE_DIR}/.cache/recordings CACHE PATH
    "Folder of spoken recordings shared by the checkout's build folders (empty: none)")
# Real recordings dropped into assets/ replace generated ones of the same name.
file(GLOB LUMO_RECORDED_SOUNDS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/*.mp3)

add_custom_command(
  OUTPUT ${LUMO_AUDIO_STAMP}
  COMMAND $<TARGET_FILE:lumo-book> --export-content ${LUMO_CONTENT_EXPORT}
  COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/tools/make_audio.py
          --content ${LUMO_CONTENT_EXPORT} --out ${LUMO_GENERATED_ASSETS}
          --manifest ${LUMO_AUDIO_MANIFEST} --source-assets ${CMAKE_SOURCE_DIR}/assets
          --speak-words $<TARGET_FILE:speak_words> --jobs 2 --cache "${LUMO_RECORDINGS_CACHE}"
  COMMAND ${CMAKE_COMMAND} -E touch ${LUMO_AUDIO_STAMP}
  DEPENDS lumo-book speak_words ${CMAKE_SOURCE_DIR}/tools/make_audio.py ${LUMO_RECORDED_SOUNDS}
  COMMENT "Speaking the book's recordings"
  VERBATIM)
add_custom_target(audio ALL DEPENDS ${LUMO_AUDIO_STAMP})

if(LUMO_TESTS)
  # An independent recogniser must follow every English recording the book
  # plays; it decodes them all, so it gets both cores.
  find_program(POCKETSPHINX pocketsphinx_continuous REQUIRED)
  add_test(NAME recordings_english_recogniser
           COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/check_speech.py
                   --content ${LUMO_CONTENT_EXPORT} --assets ${LUMO_GENERATED_ASSETS}
                   --source-assets ${CMAKE_SOURCE_DIR}/assets --jobs 2)
  set_tests_properties(recordings_english_recogniser PROPERTIES TIMEOUT 600 PROCESSORS 2)
  add_test(NAME recordings_tools
           COMMAND ${Python3_EXECUTABLE} -m unittest discover -s ${CMAKE_SOURCE_DIR}/tools
                   -p "test_*.py")
  set_tests_properties(recordings_tools PROPERTIES TIMEOUT 300
                       ENVIRONMENT "LUMO_SPEAK_WORDS=$<TARGET_FILE:speak_words>")
endif()

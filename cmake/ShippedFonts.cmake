# The fonts that ship in the program's Font folder, taken from Debian's font packages (installed
# by scripts/install-deps): Chinese, Japanese and Korean (WenQuanYi Micro Hei), Thai (Loma) and
# Latin, Cyrillic and Vietnamese (DejaVu Sans). The build copies them into its own data/Font,
# where the program looks when it runs from the build tree; install puts them beside the data.
set(QUARIN_BUILD_FONT_DIR "${CMAKE_BINARY_DIR}/data/Font")
set(_quarin_font_names wqy-microhei.ttc Loma.otf DejaVuSans.ttf)
set(_quarin_font_files "")
set(_quarin_font_copies "")
foreach(name IN LISTS _quarin_font_names)
  string(MAKE_C_IDENTIFIER "QUARIN_FONT_${name}" var)
  find_file(${var} ${name} PATHS /usr/share/fonts
    PATH_SUFFIXES truetype/wqy opentype/tlwg truetype/dejavu NO_DEFAULT_PATH)
  if(NOT ${var})
    message(WARNING "Font ${name} not found: run scripts/install-deps; the program will show "
                    "boxes for the languages it covers where the system lacks a font.")
    continue()
  endif()
  list(APPEND _quarin_font_files "${${var}}")
  list(APPEND _quarin_font_copies "${QUARIN_BUILD_FONT_DIR}/${name}")
  add_custom_command(OUTPUT "${QUARIN_BUILD_FONT_DIR}/${name}"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${${var}}" "${QUARIN_BUILD_FONT_DIR}/${name}"
    DEPENDS "${${var}}" VERBATIM)
endforeach()
add_custom_target(quarin_fonts ALL DEPENDS ${_quarin_font_copies})
# The names of the fonts found, for the test that checks what they cover.
set(QUARIN_SHIPPED_FONTS "")
foreach(file IN LISTS _quarin_font_files)
  get_filename_component(name "${file}" NAME)
  list(APPEND QUARIN_SHIPPED_FONTS "${name}")
endforeach()
list(JOIN QUARIN_SHIPPED_FONTS "," QUARIN_SHIPPED_FONT_NAMES)

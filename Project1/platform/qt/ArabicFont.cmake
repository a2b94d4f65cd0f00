# The Arabic letters, digits and punctuation the window and its messages need, cut at build time
# from Noto Sans Arabic (SIL Open Font License 1.1; the copyright and licence notice travel in the
# cut font's own name table) and compiled into the program as a Qt resource, so the captions show
# on a system without an Arabic font. About 75 KB instead of the whole face's 240 KB.
find_program(ZANTHERA_FONT_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(ZANTHERA_ARABIC_SOURCE /usr/share/fonts/truetype/noto/NotoSansArabic-Regular.ttf
    CACHE FILEPATH "The Arabic face the program's own font is cut from")
set(arabic_dir ${CMAKE_CURRENT_BINARY_DIR}/fonts)
set(arabic_font ${arabic_dir}/ZantheraArabic.ttf)
# Basic punctuation and digits, the Arabic letters with the Persian ones, Arabic-Indic and
# Persian digits, Arabic punctuation, and the joiners and direction marks.
set(arabic_unicodes
  "U+0020-0040,U+005B-0060,U+007B-007E,U+00A0,U+00AB,U+00BB,U+060C,U+061B,U+061F,U+0621-064A,U+0640,U+0660-066C,U+067E,U+0686,U+0698,U+06A9,U+06AF,U+06CC,U+06F0-06F9,U+200C-200F")
add_custom_command(OUTPUT ${arabic_font}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${arabic_dir}
  COMMAND ${ZANTHERA_FONT_PYTHON} -m fontTools.subset ${ZANTHERA_ARABIC_SOURCE}
    --unicodes=${arabic_unicodes} --layout-features=* --name-IDs=* --name-languages=*
    --output-file=${arabic_font}
  DEPENDS ${ZANTHERA_ARABIC_SOURCE} ${CMAKE_CURRENT_LIST_FILE}
  COMMENT "Cutting the program's Arabic font" VERBATIM)
qt_add_resources(zanthera_qt arabic_font PREFIX /fonts BASE ${arabic_dir} FILES ${arabic_font})

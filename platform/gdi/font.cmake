# The built-in "System" font: its metrics, widths and glyph drawing, and the
# glyph tables that tools/fontgen/make_system_font.py generates.
zandrel_library(zandrel_gdi_font
    ${CMAKE_CURRENT_SOURCE_DIR}/font.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/font_data.cpp
)
target_include_directories(zandrel_gdi_font PUBLIC ${PROJECT_SOURCE_DIR}/platform/include)

# The user guide as HTML for the desktop program's ヘルプ → トピックの検索:
# docs/user-guide.md and docs/dialogs.md rendered with cmark into
# BUILD/docs/html, the screenshots copied beside them. The program looks for
# the installed copy first and then for this one (src/ui/window/help.cpp).
find_program(CMARK_EXECUTABLE cmark REQUIRED)

set(TOLV_GUIDE_DIR ${CMAKE_BINARY_DIR}/docs/html)
set(TOLV_GUIDE_OUTPUTS)
foreach(page user-guide dialogs)
  add_custom_command(
    OUTPUT ${TOLV_GUIDE_DIR}/${page}.html
    COMMAND ${CMAKE_COMMAND} -DCMARK=${CMARK_EXECUTABLE} -DINPUT=${CMAKE_SOURCE_DIR}/docs/${page}.md
            -DOUTPUT=${TOLV_GUIDE_DIR}/${page}.html -P ${CMAKE_SOURCE_DIR}/cmake/RenderGuidePage.cmake
    DEPENDS ${CMAKE_SOURCE_DIR}/docs/${page}.md ${CMAKE_SOURCE_DIR}/cmake/RenderGuidePage.cmake
    COMMENT "Rendering docs/${page}.md"
    VERBATIM)
  list(APPEND TOLV_GUIDE_OUTPUTS ${TOLV_GUIDE_DIR}/${page}.html)
endforeach()

file(GLOB TOLV_GUIDE_SCREENSHOTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/screenshots/*.png)
foreach(shot ${TOLV_GUIDE_SCREENSHOTS})
  get_filename_component(name ${shot} NAME)
  add_custom_command(
    OUTPUT ${TOLV_GUIDE_DIR}/screenshots/${name}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${shot} ${TOLV_GUIDE_DIR}/screenshots/${name}
    DEPENDS ${shot}
    VERBATIM)
  list(APPEND TOLV_GUIDE_OUTPUTS ${TOLV_GUIDE_DIR}/screenshots/${name})
endforeach()

add_custom_target(tolv_guide ALL DEPENDS ${TOLV_GUIDE_OUTPUTS})

# cmake -DCMARK=... -DINPUT=page.md -DOUTPUT=page.html -P RenderGuidePage.cmake
#
# One page of the user guide as a whole HTML document: cmark's rendering in a
# UTF-8 page titled with its first heading, links between the pages pointed
# at their HTML, and the English summary given its anchor.
execute_process(COMMAND ${CMARK} ${INPUT} OUTPUT_VARIABLE body RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmark failed on ${INPUT}")
endif()
string(REGEX REPLACE "href=\"([a-z-]+)\\.md" "href=\"\\1.html" body "${body}")
string(REPLACE "<h2>English summary</h2>" "<h2 id=\"english-summary\">English summary</h2>" body "${body}")
set(title "トルブ")
if(body MATCHES "<h1>([^<]*)</h1>")
  set(title "${CMAKE_MATCH_1}")
endif()
get_filename_component(folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
file(WRITE ${OUTPUT} "<!DOCTYPE html>
<html lang=\"ja\">
<head>
<meta charset=\"utf-8\">
<title>${title}</title>
<style>
body { font-family: \"Noto Sans CJK JP\", sans-serif; max-width: 60em; margin: 1em auto; padding: 0 1em; line-height: 1.6; }
img { max-width: 100%; border: 1px solid #ccc; }
pre, code { background: #f4f4f4; }
pre { padding: 0.5em; overflow-x: auto; }
table { border-collapse: collapse; }
td, th { border: 1px solid #ccc; padding: 0.2em 0.5em; }
</style>
</head>
<body>
${body}</body>
</html>
")

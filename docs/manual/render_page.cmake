# One page of the manual: cmake -DCMARK=cmark-gfm -DIN=page.md -DOUT=page.html -P render_page.cmake
# Links to other chapters (name.md) become links to their pages (name.html).
execute_process(COMMAND ${CMARK} --to html -e table ${IN}
  OUTPUT_VARIABLE body RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmark-gfm failed on ${IN}")
endif()
string(REGEX REPLACE "href=\"([A-Za-z0-9_]+)\\.md([#\"])" "href=\"\\1.html\\2" body "${body}")
file(STRINGS ${IN} first_line LIMIT_COUNT 1 ENCODING UTF-8)
string(REGEX REPLACE "^# *" "" title "${first_line}")
if(NOT title STREQUAL "kvd 用户手册")
  set(title "${title} — kvd 用户手册")
endif()
file(WRITE ${OUT}.tmp "<!DOCTYPE html>
<html lang=\"zh-CN\">
<head>
<meta charset=\"utf-8\">
<title>${title}</title>
<link rel=\"stylesheet\" href=\"manual.css\">
</head>
<body>
${body}</body>
</html>
")
file(RENAME ${OUT}.tmp ${OUT})

# One page of the manual: cmake -DCMARK=cmark-gfm -DIN=page.md -DOUT=page.html -P render_page.cmake
# Links to other chapters (name.md) become links to their pages (name.html).
cmake_policy(VERSION 3.25)
execute_process(COMMAND ${CMARK} --to html -e table ${IN}
  OUTPUT_VARIABLE body RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmark-gfm failed on ${IN}")
endif()
string(REGEX REPLACE "href=\"([A-Za-z0-9_]+)\\.md([#\"])" "href=\"\\1.html\\2" body "${body}")

# A line break inside a Chinese sentence is no gap: browsers would show the
# break of the Markdown source as a space between two characters. Breaks next
# to ASCII text stay spaces, and code blocks keep every line.
function(join_chinese_lines text out)
  foreach(round 1 2)  # twice: a match takes the characters on both sides
    string(REGEX REPLACE "([^\n -~])\n([^\n -~])" "\\1\\2" text "${text}")
  endforeach()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
set(joined "")
set(rest "${body}")
while(TRUE)
  string(FIND "${rest}" "<pre>" start)
  if(start EQUAL -1)
    join_chinese_lines("${rest}" prose)
    string(APPEND joined "${prose}")
    break()
  endif()
  string(SUBSTRING "${rest}" 0 ${start} before)
  join_chinese_lines("${before}" prose)
  string(APPEND joined "${prose}")
  string(SUBSTRING "${rest}" ${start} -1 rest)
  string(FIND "${rest}" "</pre>" end)
  if(end EQUAL -1)
    string(APPEND joined "${rest}")
    break()
  endif()
  math(EXPR end "${end} + 6")
  string(SUBSTRING "${rest}" 0 ${end} block)
  string(APPEND joined "${block}")
  string(SUBSTRING "${rest}" ${end} -1 rest)
endwhile()
set(body "${joined}")
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

# cmake -DCMARK=cmark-gfm -DSOURCE=guide.md -DPAGE=page.html -DOUTPUT=guide.html -P BuildGuide.cmake
# Converts the guide's Markdown to HTML, gives each section heading the anchor the contents link
# to (the heading's words in lower case, joined by hyphens, as GitHub names them) and puts the
# result into the page where "@BODY@" stands.
cmake_minimum_required(VERSION 3.25)

execute_process(
  COMMAND ${CMARK} --extension table --extension autolink --to html ${SOURCE}
  OUTPUT_VARIABLE body
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmark-gfm could not convert ${SOURCE}")
endif()

string(REGEX MATCHALL "<h[23]>[^<]+</h[23]>" headings "${body}")
foreach(heading IN LISTS headings)
  string(REGEX REPLACE "<h([23])>([^<]+)</h[23]>" "\\1" level "${heading}")
  string(REGEX REPLACE "<h[23]>([^<]+)</h[23]>" "\\1" title "${heading}")
  string(TOLOWER "${title}" anchor)
  string(REGEX REPLACE "[^a-z0-9 -]" "" anchor "${anchor}")
  string(REPLACE " " "-" anchor "${anchor}")
  string(REPLACE "${heading}" "<h${level} id=\"${anchor}\">${title}</h${level}>" body "${body}")
endforeach()

file(READ ${PAGE} page)
string(REPLACE "@BODY@" "${body}" page "${page}")
file(WRITE "${OUTPUT}" "${page}")

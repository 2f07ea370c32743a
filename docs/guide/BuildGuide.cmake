# cmake -DCMARK=cmark-gfm -DSOURCE=guide.md -DPAGE=page.html -DOUTPUT=guide.html -P BuildGuide.cmake
# Converts the guide's Markdown to HTML, gives each section heading the anchor the contents link
# to (the heading's words in lower case, joined by hyphens, as GitHub names them), copies the
# screenshots it shows into a folder beside the page and puts the result into the page where
# "@BODY@" stands. The Markdown names the screenshots as ../screenshots/NAME.png, so that it shows
# them where it is read in the repository too.
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

get_filename_component(source_folder "${SOURCE}" DIRECTORY)
get_filename_component(output_folder "${OUTPUT}" DIRECTORY)
string(REGEX MATCHALL "src=\"\\.\\./screenshots/[^\"/]+\"" images "${body}")
list(REMOVE_DUPLICATES images)
foreach(image IN LISTS images)
  string(REGEX REPLACE "src=\"\\.\\./screenshots/([^\"]+)\"" "\\1" name "${image}")
  file(COPY "${source_folder}/../screenshots/${name}" DESTINATION "${output_folder}/screenshots")
  string(REPLACE "${image}" "src=\"screenshots/${name}\"" body "${body}")
endforeach()

file(READ ${PAGE} page)
string(REPLACE "@BODY@" "${body}" page "${page}")
file(WRITE "${OUTPUT}" "${page}")

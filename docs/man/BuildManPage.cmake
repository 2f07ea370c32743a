# cmake -DCMARK=cmark-gfm -DSOURCE=NAME.1.md -DOUTPUT=NAME.1 -DVERSION=1.0.0 -P BuildManPage.cmake
# Converts a manual page written in Markdown to roff with cmark-gfm and puts the .TH header above
# it. A list item whose first line ends in a hard line break becomes a tagged paragraph (.TP): the
# first line is the tag (an option, a status, a file), the rest its description, as manual pages
# lay them out.
cmake_minimum_required(VERSION 3.25)

execute_process(
  COMMAND ${CMARK} --to man ${SOURCE}
  OUTPUT_VARIABLE body
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmark-gfm could not convert ${SOURCE}")
endif()

# cmark-gfm puts the request of a hard line break on the line of the text before it.
string(REGEX REPLACE "([^\n])\\.PD 0\n" "\\1\n.PD 0\n" body "${body}")
string(REGEX REPLACE "\\.IP \\\\\\[bu\\] 2\n([^\n]*)\n\\.PD 0\n\\.P\n\\.PD\n" ".TP\n\\1\n" body
                     "${body}")
# A section heading starts a paragraph of its own, and code is set in roman Courier, the font
# name that every formatter knows.
string(REGEX REPLACE "\\.SH\n([^\n]+)\n(\\.PP\n)?" ".SH \\1\n" body "${body}")
string(REPLACE "\\f[C]" "\\f[CR]" body "${body}")

get_filename_component(page "${OUTPUT}" NAME)
string(REGEX REPLACE "\\.([0-9])$" "" name "${page}")
string(REGEX REPLACE "^.*\\.([0-9])$" "\\1" section "${page}")
string(TOUPPER "${name}" title)
string(TIMESTAMP date "%Y-%m-%d" UTC)
file(WRITE "${OUTPUT}"
     ".TH \"${title}\" \"${section}\" \"${date}\" \"Ordavel ${VERSION}\" \"User Commands\"\n${body}")

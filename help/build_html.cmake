# Writes the help's HTML form: the same pages as the compiled help file, as plain files
# in a folder beside the program, for systems whose help viewer shows no pages (Wine
# without its HTML engine hands them to the host's browser instead). Every page of the
# help sources goes in as it is, so a new page needs no list here; and for every anchor
# of every page a jump page "<page>.<anchor>.htm" beside it opens the page at that
# anchor, because Wine's hand-off to the host's browser takes a file but damages a file
# URL with an anchor.
# Run with cmake -P; the calling target passes SOURCE_DIR, OUTPUT_DIR and LANGUAGE (de
# or en), and may pass SHARED_DIR, as for build_chm.cmake.
foreach(_var SOURCE_DIR OUTPUT_DIR LANGUAGE)
  if(NOT DEFINED ${_var})
    message(FATAL_ERROR "build_html.cmake: ${_var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${OUTPUT_DIR})
file(MAKE_DIRECTORY ${OUTPUT_DIR})
include(${CMAKE_CURRENT_LIST_DIR}/help_files.cmake)
foldtally_copy_help_files(${SOURCE_DIR} "${SHARED_DIR}" ${OUTPUT_DIR})

file(GLOB_RECURSE _pages RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.htm)
list(FILTER _pages EXCLUDE REGEX "^en/")
set(_jumps 0)
foreach(_page IN LISTS _pages)
  file(READ ${SOURCE_DIR}/${_page} _html)
  get_filename_component(_dir ${_page} DIRECTORY)
  get_filename_component(_name ${_page} NAME)
  get_filename_component(_base ${_page} NAME_WLE)
  string(REGEX MATCH "<title>[^<]*</title>" _title "${_html}")
  string(REGEX MATCHALL "(name|id)=\"[^\"]*\"" _attributes "${_html}")
  foreach(_attribute IN LISTS _attributes)
    string(REGEX REPLACE "^(name|id)=\"([^\"]*)\"$" "\\2" _anchor "${_attribute}")
    if(NOT _anchor MATCHES "^[A-Za-z0-9_-]+$")
      message(FATAL_ERROR "${_page}: anchor \"${_anchor}\" cannot be part of a file name")
    endif()
    if(_dir STREQUAL "")
      set(_jump ${_base}.${_anchor}.htm)
    else()
      set(_jump ${_dir}/${_base}.${_anchor}.htm)
    endif()
    if(EXISTS ${SOURCE_DIR}/${_jump})
      message(FATAL_ERROR "${_jump} is a help page and the jump page to ${_page}#${_anchor}")
    endif()
    file(WRITE ${OUTPUT_DIR}/${_jump}
"<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">
<html lang=\"${LANGUAGE}\">
<head>
<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">
<meta http-equiv=\"refresh\" content=\"0; url=${_name}#${_anchor}\">
${_title}
</head>
<body>
<p><a href=\"${_name}#${_anchor}\">${_name}#${_anchor}</a></p>
</body>
</html>
")
    math(EXPR _jumps "${_jumps} + 1")
  endforeach()
endforeach()
list(LENGTH _pages _count)
message(STATUS "help pages: ${_count} pages, ${_jumps} jump pages in ${OUTPUT_DIR}")

# Compiles the help file in a copy of the help sources inside the build tree, so the
# source tree is never written to. Run with cmake -P; the calling target passes
# SOURCE_DIR, STAGE_DIR, OUTPUT, CHMCMD and ICONV, and may pass SHARED_DIR, whose style
# sheets and pictures the pages use from the same places as if they were their own.
#
# The project, contents and index files are kept in UTF-8 for readable diffs; the help
# viewer reads them in the code page of the help file's language (Windows-1252 for
# German and English), so they are converted on the way into the copy. The pages
# themselves write every umlaut as an HTML entity and are copied unchanged.
foreach(_var SOURCE_DIR STAGE_DIR OUTPUT CHMCMD ICONV)
  if(NOT DEFINED ${_var})
    message(FATAL_ERROR "build_chm.cmake: ${_var} is not set")
  endif()
endforeach()

file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${STAGE_DIR})
include(${CMAKE_CURRENT_LIST_DIR}/help_files.cmake)
foldtally_copy_help_files(${SOURCE_DIR} "${SHARED_DIR}" ${STAGE_DIR})

file(GLOB _project_files RELATIVE ${SOURCE_DIR}
     ${SOURCE_DIR}/*.hhp ${SOURCE_DIR}/*.hhc ${SOURCE_DIR}/*.hhk)
foreach(_file IN LISTS _project_files)
  execute_process(COMMAND ${ICONV} -f UTF-8 -t CP1252 ${SOURCE_DIR}/${_file}
                  OUTPUT_FILE ${STAGE_DIR}/${_file}
                  RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "${_file} holds text that Windows-1252 cannot represent")
  endif()
endforeach()

# chmcmd's own HTML scan reports every anchor as undefined even when it exists and exits
# 0 anyway, so it is switched off; tests/help checks pages, anchors and links instead.
# A file listed in the project but missing makes chmcmd stop with a non-zero code.
execute_process(COMMAND ${CHMCMD} --no-html-scan foldtally.hhp
                WORKING_DIRECTORY ${STAGE_DIR}
                RESULT_VARIABLE _rc
                OUTPUT_VARIABLE _out
                ERROR_VARIABLE _out)
if(NOT _rc EQUAL 0 OR NOT EXISTS ${STAGE_DIR}/foldtally.chm)
  message(FATAL_ERROR "chmcmd failed (${_rc}):\n${_out}")
endif()
if(_out MATCHES "(Error|Warning):")
  message(FATAL_ERROR "chmcmd reported problems:\n${_out}")
endif()

file(COPY_FILE ${STAGE_DIR}/foldtally.chm ${OUTPUT})

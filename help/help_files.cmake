# The files of one language's help that go into its .chm and its HTML form unchanged:
# the pages, style sheets and pictures of its folder, without the English folder inside
# the German one, and the style sheets and pictures of SHARED_DIR (if not empty) that the
# folder does not hold itself.
function(foldtally_copy_help_files source_dir shared_dir destination)
  set(_other_language)
  if(IS_DIRECTORY ${source_dir}/en) # the pattern would match the English folder itself
    set(_other_language PATTERN "en" EXCLUDE)
  endif()
  file(COPY ${source_dir}/ DESTINATION ${destination}
       FILES_MATCHING PATTERN "*.htm" PATTERN "*.css" PATTERN "*.png" ${_other_language})
  if(shared_dir STREQUAL "" OR shared_dir STREQUAL source_dir)
    return()
  endif()
  file(GLOB_RECURSE _shared RELATIVE ${shared_dir} ${shared_dir}/*.css ${shared_dir}/*.png)
  list(FILTER _shared EXCLUDE REGEX "^en/")
  foreach(_file IN LISTS _shared)
    if(NOT EXISTS ${source_dir}/${_file})
      get_filename_component(_dir ${destination}/${_file} DIRECTORY)
      file(COPY ${shared_dir}/${_file} DESTINATION ${_dir})
    endif()
  endforeach()
endfunction()

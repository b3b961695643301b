# The source revision a build is made from: `git describe --always --dirty` of the source
# folder when it is the top of a git checkout, else "unknown" (an exported tree, or a copy
# inside another project's checkout, whose revision would say nothing about this one).
# `files_var`, when given, receives git's files that change with a commit or a checkout, so
# that the build can configure itself again when they do.
function(pelmora_source_revision source out_var)
  set(revision unknown)
  set(files)
  find_package(Git QUIET)
  if(GIT_FOUND)
    execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --show-toplevel
      WORKING_DIRECTORY ${source} RESULT_VARIABLE status OUTPUT_VARIABLE top
      OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    file(REAL_PATH ${source} real_source)
    if(status EQUAL 0 AND NOT top STREQUAL "")
      file(REAL_PATH ${top} real_top)
    else()
      set(real_top "")
    endif()
    if(real_top STREQUAL real_source)
      execute_process(COMMAND ${GIT_EXECUTABLE} describe --always --dirty
        WORKING_DIRECTORY ${source} RESULT_VARIABLE status OUTPUT_VARIABLE described
        OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
      if(status EQUAL 0 AND NOT described STREQUAL "")
        set(revision ${described})
      endif()
      execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --symbolic-full-name HEAD
        WORKING_DIRECTORY ${source} OUTPUT_VARIABLE ref OUTPUT_STRIP_TRAILING_WHITESPACE
        ERROR_QUIET)
      foreach(name HEAD ${ref} packed-refs)
        execute_process(COMMAND ${GIT_EXECUTABLE} rev-parse --git-path ${name}
          WORKING_DIRECTORY ${source} OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE
          ERROR_QUIET)
        if(NOT path STREQUAL "")
          get_filename_component(path ${path} ABSOLUTE BASE_DIR ${source})
          if(EXISTS ${path})
            list(APPEND files ${path})
          endif()
        endif()
      endforeach()
    endif()
  endif()
  set(${out_var} ${revision} PARENT_SCOPE)
  if(ARGC GREATER 2)
    set(${ARGV2} ${files} PARENT_SCOPE)
  endif()
endfunction()

# As a script (cmake -DSOURCE=FOLDER -P SourceRevision.cmake), prints FOLDER's revision.
if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE AND DEFINED SOURCE)
  pelmora_source_revision(${SOURCE} revision)
  message("${revision}")
endif()

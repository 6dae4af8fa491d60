# Warnings are a property of each target we write, not of the directory, so that the
# third-party code a target pulls in (moc output aside) keeps its own flags.
# WARNINGS_AS_ERRORS turns them into errors; CI builds with it on.
option(WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)

function(set_project_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra
    # OpenCV 4.6 headers mix enumerations in arithmetic, which C++20 deprecates.
    -Wno-deprecated-enum-enum-conversion)
  if(WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# What differs by platform lives in *_linux.cpp and *_windows.cpp: keeps in the list `var`
# only this platform's files.
function(huddlex_platform_sources var)
    set(sources ${${var}})
    if(WIN32)
        list(FILTER sources EXCLUDE REGEX "_linux\\.cpp$")
    else()
        list(FILTER sources EXCLUDE REGEX "_windows\\.cpp$")
    endif()
    set(${var} ${sources} PARENT_SCOPE)
endfunction()

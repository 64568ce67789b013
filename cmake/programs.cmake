# KT_PROGRAMS: the programs that are installed and shipped (the simulator only when it is built).
set(KT_PROGRAMS)
foreach(program ktlink ktconvert ktsim)
    if(TARGET ${program})
        list(APPEND KT_PROGRAMS ${program})
    endif()
endforeach()

; Exercise: put the larger of R1 and R2 into R3, both read as signed bytes
; (80..FF are -128..-1), and halt.
; jmpLE compares a register with R0 as signed bytes, so R2 goes into R0.

        move R0,R2        ; R0: the second value, to compare with
        move R3,R1        ; guess R1 ...
        jmpLE R1<=R0,second
        halt              ; ... R1 > R2: the guess holds
second: move R3,R2        ; R1 <= R2: R2 it is
        halt

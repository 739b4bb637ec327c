; Exercise: count the bits set in R1 into R3 and halt.
; Eight times: the lowest bit is added and the value rotated right by one, so
; R1 ends as it began.

        load R0,0         ; R0: the count at which the loop ends
        load R2,8         ; R2: bits left to look at
        load R4,1         ; R4: the mask of the lowest bit
        load R6,-1        ; R6: minus one, to count down with
        load R3,0         ; R3: the bits found
loop:   jmpEQ R2=R0,done
        and R5,R1,R4      ; R5: the lowest bit, 0 or 1
        addi R3,R3,R5
        ror R1,1          ; the next bit down
        addi R2,R2,R6
        jmp loop
done:   halt

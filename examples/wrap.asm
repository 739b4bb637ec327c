; Exercise: count into R3 how many times R1 must be increased by one until it
; wraps past FF to 00, and halt (so R3 = 256 - R1, and 0 for R1 = 0).

        load R0,0         ; R0: the value at which the count ends
        load R2,1         ; R2: one
        load R3,0         ; R3: the increments so far
loop:   jmpEQ R1=R0,done  ; wrapped to zero?
        addi R1,R1,R2     ; FF + 1 is 00
        addi R3,R3,R2
        jmp loop
done:   halt

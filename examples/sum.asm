; Exercise: put 1 + 2 + ... + N into R3, with N in R1, and halt.
; A counting loop: R1 counts down to zero while R3 collects the sum; the sum
; wraps modulo 256 like every addition of the machine.

        load R0,0         ; R0: the count at which the loop ends
        load R2,-1        ; R2: minus one, to count down with
        load R3,0         ; R3: the sum so far
loop:   jmpEQ R1=R0,done  ; nothing left to add?
        addi R3,R3,R1     ; add the count ...
        addi R1,R1,R2     ; ... and count down
        jmp loop
done:   halt

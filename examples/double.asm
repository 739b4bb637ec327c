; Exercise: double every byte of the array that starts at the address in R1
; and holds R2 bytes, in place (modulo 256), and halt.
; An indirect load and store reach the element whose address is in R1.

        load R0,0         ; R0: the count at which the loop ends
        load R4,1         ; R4: one, the step to the next element
        load R5,-1        ; R5: minus one, to count down with
loop:   jmpEQ R2=R0,done  ; no element left?
        load R3,[R1]      ; the element ...
        addi R3,R3,R3     ; ... doubled ...
        store R3,[R1]     ; ... back in its place
        addi R1,R1,R4     ; next element
        addi R2,R2,R5     ; one fewer to go
        jmp loop
done:   halt

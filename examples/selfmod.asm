; Exercise: print the text at 80, which ends in a zero byte, without an
; indirect load: the program moves the address byte of its own direct load on.

        load R0,0         ; R0: the zero byte that ends the text
        load R1,1         ; R1: one, the step to the next character
fetch:  db 13h, 80h       ; load R3,[80] at address 04: byte 05 is the address
        jmpEQ R3=R0,done
        move RF,R3        ; show the character
        load R2,[5]       ; the address byte of the load above ...
        addi R2,R2,R1     ; ... moves on by one
        store R2,[5]
        jmp fetch
done:   halt

        org 80h
        db "Self-made",0

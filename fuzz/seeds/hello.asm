; Prints a greeting. Every value written to RF appears in the output window
; as one character, so the loop copies the text there byte by byte.

        load R1,text      ; R1: address of the next character
        load R2,1         ; R2: step to the next address
        load R0,0         ; R0: the zero byte that ends the text
next:   load R3,[R1]      ; R3: the character
        jmpEQ R3=R0,done  ; the end of the text?
        move RF,R3        ; show the character
        addi R1,R1,R2
        jmp next
done:   halt

text:   db "Hello, world!",10,0

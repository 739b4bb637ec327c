; Exercise: print the zero-terminated text at the address in R1 in lower case
; (letters only; the text holds letters, digits, blanks and punctuation from
; 20..3F), and halt.
; The codes of A..Z and a..z differ only in bit 5 (20h), which an OR sets; the
; other characters allowed have that bit set already.

        load R0,0         ; R0: the zero byte that ends the text
        load R2,1         ; R2: one, the step to the next character
        load R4,20h       ; R4: the lower-case bit
next:   load R3,[R1]
        jmpEQ R3=R0,done
        or RF,R3,R4       ; show the character in lower case
        addi R1,R1,R2
        jmp next
done:   halt

x: 12
x
loop halt
load R1,R2
jmpEQ R1,R0,5
jmpLE R1<R0,5
db 1,
db "abc
db 1,'
store R1,5
jmp R1
load R1,[300]
ror R1,-1
load R1,99999999999
halt R1
jmp nowhere
org 0
halt

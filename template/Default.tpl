Start Template Block
# Constant PPO2 settings
Setpoint= 1.3
DecoSetpoint= 1.4
OCDeco=0
AutoDecoGas=1
Open Circuit=1
O2Narcotic=1
MinPPO2= .18
Maximal END= 30
MaxPPO2= 1.4
DecoPPO2= 1.6
# Altitude settings
AdeptedToHeight=1
TimeToHeight= 0
StartAltitude= 0
StartPressure= 1.01325
EndAltitude= 0
EndPressure= 1.01325
# Warning section
PPO2Low=1
PPO2High=1
MaxEnd=1
CeilingOverride= 0
# Properties
RMV= 20
DecoRMV= 15
StepSize= 3
LastStop= 3
Metric=1
# Conservatism
DepthAdjust=0
GF=1, .8, .3
# Ascend Descend Rates
AscendRates= 0: 3, 6: 9, 30: 10,
DescendRates= 0: 20,
# Gas Mixes
Blends Available=EAN32: 32/ 68/ 0/
Blends Available=EAN50: 50/ 50/ 0/
Blends Available=Oxygen: 100/ 0/ 0/
Blends Available=Trimix 21/35: 21/ 44/ 35/
Blends Available=Trimix 18/45: 18/ 37/ 45/
Blends Available=Trimix 10/70: 10/ 20/ 70/
# ChangeGasMix
Change Gas Mixes=
Templatename=Default.tpl
End Template Block
